#pragma once

#include "parts/Export.h"

#include <QString>

namespace kvtest {

// Answers the export's save-file dialog with a path (".txt" is appended to it), or gives up
// when the path is empty, for the life of the object.
class ExportTarget : public exporting::TargetChooser {
public:
    explicit ExportTarget(const QString& path) : path(path) { exporting::setChooser(this); }
    ~ExportTarget() override { exporting::setChooser(nullptr); }
    ExportTarget(const ExportTarget&) = delete;
    ExportTarget& operator=(const ExportTarget&) = delete;

    QString choose(QWidget*) override
    {
        ++asked;
        return path;
    }
    QString path;
    int asked = 0;
};

}  // namespace kvtest
