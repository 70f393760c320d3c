#include "Shots.h"

#include "db/mySQLTool.h"
#include "ui/AppState.h"
#include "ui/Appearance.h"
#include "ui/Prompt.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>

std::vector<Shot>& allShots()
{
    static std::vector<Shot> shots;
    return shots;
}

namespace {

// Message boxes would block an offscreen run: note them and answer OK.
class QuietPrompt : public Prompt {
public:
    void message(const QString& text, const QString& caption) override
    {
        std::fprintf(stderr, "  [%s] %s\n", qPrintable(caption), qPrintable(text));
    }
    bool confirm(const QString& text, const QString& caption) override
    {
        message(text, caption);
        return true;
    }
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyAppearance(app);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kvscreens OUTDIR [NAME...]\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    // The inquiries log their statements into the working folder: a scratch one, not the tree.
    QTemporaryDir scratch;
    if (scratch.isValid())
        QDir::setCurrent(scratch.path());
    QStringList only;
    for (int i = 2; i < argc; ++i)
        only.append(QString::fromLocal8Bit(argv[i]));

    const auto env = [](const char* name, const char* fallback) {
        const QByteArray v = qgetenv(name);
        return v.isEmpty() ? QString::fromLatin1(fallback) : QString::fromUtf8(v);
    };
    if (!g_sqlTool.Connect(env("KV_DB_HOST", "127.0.0.1"), env("KV_DB_PORT", "3306").toInt(),
                           env("KV_DB_NAME", "kvscreens"), env("KV_DB_USER", "kv"),
                           env("KV_DB_PASSWORD", "kv"))) {
        std::fprintf(stderr, "cannot connect: %s\n", qPrintable(g_sqlTool.GetError()));
        return 1;
    }
    QuietPrompt quiet;
    setPrompt(&quiet);
    g_account = QStringLiteral("admin");
    g_password = QStringLiteral("admin");
    g_identity = QStringLiteral("管理员");

    int written = 0;
    for (const Shot& shot : allShots()) {
        if (!only.isEmpty() && !only.contains(shot.name))
            continue;
        std::fprintf(stderr, "%s\n", qPrintable(shot.name));
        std::unique_ptr<QWidget> w(shot.make());
        if (!w)
            continue;
        w->show();
        settle();
        if (shot.prepare) {
            shot.prepare(w.get());
            settle();
        }
        const QString file = QDir(out).filePath(shot.name + QStringLiteral(".png"));
        if (w->grab().save(file))
            ++written;
        else
            std::fprintf(stderr, "  could not write %s\n", qPrintable(file));
    }
    std::fprintf(stderr, "%d pictures in %s\n", written, qPrintable(out));
    setPrompt(nullptr);
    return written > 0 ? 0 : 1;
}
