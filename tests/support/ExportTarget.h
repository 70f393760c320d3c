#pragma once

#include "parts/Export.h"

#include <QString>

namespace kvtest {

// Answers the export's save-file dialog with a path (".txt" or ".xlsx" is appended to it) in a
// format, or gives up when the path is empty, for the life of the object; the progress is
// stopped once `stopAfter` rows were written (never when negative).
class ExportTarget : public exporting::Dialogs {
public:
    explicit ExportTarget(const QString& path, exporting::Format format = exporting::Format::Text)
        : path(path), format(format)
    {
        exporting::setDialogs(this);
    }
    ~ExportTarget() override { exporting::setDialogs(nullptr); }
    ExportTarget(const ExportTarget&) = delete;
    ExportTarget& operator=(const ExportTarget&) = delete;

    exporting::Target choose(QWidget*, exporting::Format asked) override
    {
        ++this->asked;
        preferred = asked;
        return {path, format};
    }
    exporting::Progress progress(QWidget*, quint64 rows) override
    {
        expected = rows;
        return [this](quint64 written) { return stopAfter < 0 || written < quint64(stopAfter); };
    }

    QString path;
    exporting::Format format;
    int asked = 0;
    exporting::Format preferred = exporting::Format::Text;
    quint64 expected = 0;
    qint64 stopAfter = -1;
};

}  // namespace kvtest
