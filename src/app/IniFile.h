#pragma once

#include <QString>
#include <QVector>

// A Windows-style settings file: [sections] of key=value lines. Section and key names
// are matched ignoring case; a value is the rest of its line after the first '=', with
// the blanks around it and one pair of enclosing double quotes taken off. Lines the file
// holds beyond that (comments, other sections) are kept as they are.
class IniFile {
public:
    // Reads the file; a missing or unreadable file reads as empty. The text may be UTF-8 (with
    // or without its mark), UTF-16 with its mark (Notepad's "Unicode") or GBK, its lines
    // ended by CR LF, LF or CR alone.
    explicit IniFile(const QString& path);

    const QString& path() const { return path_; }
    QString value(const QString& section, const QString& key, const QString& fallback = QString()) const;
    bool contains(const QString& section, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    void remove(const QString& section, const QString& key);

    // Writes the file as UTF-8 in one step (a temporary file renamed over it), readable and
    // writable by its owner only. False, with the reason, when it cannot be written.
    bool save(QString* why = nullptr) const;

private:
    struct Line {
        enum class Kind { Other, Section, Entry } kind = Kind::Other;
        QString text;     // the line as read, for lines kept unchanged
        QString section;  // Section: its name; Entry: the section it belongs to
        QString key;
        QString value;
    };
    int find(const QString& section, const QString& key) const;
    static QString render(const Line& line);

    QString path_;
    QVector<Line> lines_;
};

// Config.ini in the working directory: g_workPath followed by "Config.ini".
QString ConfigFileName();
