#pragma once

#include <QString>

// Appends the text and CR LF to a file, creating it when missing; the file is opened and
// closed for each line, so other programs may read and write it meanwhile. Without a
// file name the line goes to "测试日志.txt" in the working directory. Text is written
// in UTF-8, this platform's text encoding.
bool WriteLog(const QString& text, const QString& file = QString());
