// kvbench: times whole user actions through the real screens, offscreen, and the literal
// statements of the same actions through a bare client, on the database of KV_DB_*.
//
//   kvbench [--runs N] [--latency MS,...] [--latency-runs N] [--out FILE] [KEY...]
//       measure; one line per action (tab-separated); the exports of the whole history only
//       when named. --latency: the links to measure the actions over besides the direct one,
//       milliseconds added a round trip (1,5; "none" for none), each with N runs (5).
//   kvbench --report OUT.md [--head FILE] [--notes FILE] --run YEARS POOL FILE...
//                                                 the Markdown tables of several measurements
#include "Bench.h"
#include "Literal.h"
#include "Report.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "proxy/Proxy.h"
#include "ui/AppState.h"
#include "ui/Appearance.h"
#include "ui/Prompt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr double kSlowLiteralMs = 2000;

// Message boxes would block an offscreen run: answer OK, keep failures visible.
class QuietPrompt : public Prompt {
public:
    void message(const QString& text, const QString& caption) override
    {
        if (caption == QStringLiteral("Error") || caption == QStringLiteral("错误"))
            std::fprintf(stderr, "  [%s] %s\n", qPrintable(caption), qPrintable(text));
    }
    bool confirm(const QString&, const QString&) override { return true; }
};

// The offscreen platform tells of every window it cannot size from its hints.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (!text.contains(QLatin1String("propagateSizeHints")) &&
        !text.contains(QLatin1String("XDG_RUNTIME_DIR")))
        std::fprintf(stderr, "%s\n", qPrintable(text));
    if (type == QtFatalMsg)
        std::abort();
}

QString env(const char* name, const char* fallback)
{
    const QByteArray v = qgetenv(name);
    return v.isEmpty() ? QString::fromLatin1(fallback) : QString::fromUtf8(v);
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The moment the history ends: the newest flow.
QDateTime endOfData()
{
    const Rows r = g_sqlTool.Read(
        g_sqlTool.Format("select 生成时间 from kvc_record_procedure order by 流水号 desc limit 1"));
    const QDateTime t = QDateTime::fromString(r.first().text(0), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return t.isValid() ? t.addSecs(60) : QDateTime::currentDateTime();
}

struct Options {
    int runs = 7;
    QList<int> delays{1, 5};  // the latency points, milliseconds added a round trip
    int delayRuns = 5;
    QString out;
    QStringList only;
};

// The screens' session on the server or, when `port` is given, through the proxy there.
bool connectSession(int proxyPort = 0)
{
    const QString host = proxyPort ? QStringLiteral("127.0.0.1") : env("KV_DB_HOST", "127.0.0.1");
    const int port = proxyPort ? proxyPort : env("KV_DB_PORT", "3306").toInt();
    if (g_sqlTool.Connect(host, port, env("KV_DB_NAME", "kvbench10"), env("KV_DB_USER", "kv"),
                          env("KV_DB_PASSWORD", "kv")))
        return true;
    std::fprintf(stderr, "cannot connect: %s\n", qPrintable(g_sqlTool.GetError()));
    return false;
}

// A warm-up run, then `runs` measured ones.
std::vector<Sample> sample(const Action& a, const Values& values, int runs)
{
    std::vector<Sample> samples;
    for (int i = 0; i <= runs; ++i) {
        Run run;
        a.run(run, values);
        if (run.measured() && i > 0)
            samples.push_back(run.sample());
    }
    return samples;
}

int measure(const Options& o)
{
    if (!connectSession())
        return 1;
    Literal literal;
    if (!literal.connect(env("KV_DB_HOST", "127.0.0.1"), env("KV_DB_PORT", "3306").toInt(),
                         env("KV_DB_NAME", "kvbench10"), env("KV_DB_USER", "kv"),
                         env("KV_DB_PASSWORD", "kv"))) {
        std::fprintf(stderr, "cannot connect the bare client: %s\n", qPrintable(literal.error()));
        return 1;
    }
    // Every session of the screens, g_sqlTool and those opened like it, goes through the proxy
    // while a latency point is measured; the literal statements never do.
    std::unique_ptr<kvnet::Proxy> proxy;
    if (!o.delays.isEmpty()) {
        proxy = std::make_unique<kvnet::Proxy>(env("KV_DB_PORT", "3306").toInt(),
                                               env("KV_DB_HOST", "127.0.0.1").toStdString());
        if (proxy->port() == 0) {
            std::fprintf(stderr, "cannot start the proxy\n");
            return 1;
        }
    }
    QuietPrompt quiet;
    setPrompt(&quiet);
    g_account = QStringLiteral("kvbench");
    g_password = QStringLiteral("kvbench");
    g_identity = QStringLiteral("管理员");
    kvclock::fix(endOfData());

    QFile file(o.out);
    if (!o.out.isEmpty() && !file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(o.out));
        return 1;
    }
    QTextStream lines(&file);
    std::printf("%-44s %9s %9s %9s %9s %6s %6s", "action", "median", "max", "in db", "client", "stmts",
                "trips");
    for (int d : o.delays)
        std::printf(" %8s", qPrintable(QStringLiteral("+%1 ms").arg(d)));
    std::printf(" %11s %6s\n", "literal", "stmts");
    for (const Action& a : allActions()) {
        if (!o.only.isEmpty() &&
            !std::any_of(o.only.begin(), o.only.end(), [&](const QString& k) { return a.key.startsWith(k); }))
            continue;
        if (a.named && !o.only.contains(a.key))
            continue;
        Values values;
        if (a.prepare && !a.prepare(values)) {
            std::fprintf(stderr, "%s: skipped (nothing to act on)\n", qPrintable(a.key));
            continue;
        }
        const std::vector<Sample> samples = sample(a, values, o.runs);
        std::vector<double> lit;
        quint64 litStatements = 0;
        if (const auto it = allLiterals().constFind(a.key); it != allLiterals().constEnd()) {
            // Literal statements that take seconds are run three times, not N.
            for (int i = 0, n = o.runs; i <= n; ++i) {
                literal.startClock();
                (*it)(literal, values);
                literal.stopClock();
                if (i == 0 && literal.elapsedMs() > kSlowLiteralMs)
                    n = std::min(n, 3);
                if (i > 0)
                    lit.push_back(literal.elapsedMs());
                litStatements = std::max(litStatements, literal.statements());
            }
        }
        if (samples.empty()) {
            std::fprintf(stderr, "%s: not measured\n", qPrintable(a.key));
            continue;
        }
        std::vector<double> ms, db, client;
        Result r;
        for (const Sample& x : samples) {
            ms.push_back(x.ms);
            db.push_back(x.dbMs);
            client.push_back(x.ms - x.dbMs);
            r.statements = std::max(r.statements, x.statements);
            r.roundTrips = std::max(r.roundTrips, x.roundTrips);
        }
        for (int d : o.delays) {
            proxy->delay(d);
            if (!connectSession(proxy->port()))
                return 1;
            std::vector<double> slow;
            for (const Sample& x : sample(a, values, o.delayRuns))
                slow.push_back(x.ms);
            if (!slow.empty())
                r.latency.append({d, median(slow)});
        }
        if (!o.delays.isEmpty() && !connectSession())
            return 1;
        r.key = a.key;
        r.title = a.title;
        r.kind = a.kind;
        r.target = a.target;
        r.group = a.group;
        r.median = median(ms);
        r.max = *std::max_element(ms.begin(), ms.end());
        r.dbMs = median(db);
        r.clientMs = median(client);
        r.literalMs = lit.empty() ? -1 : median(lit);
        r.literalStatements = litStatements;
        std::printf("%-44s %9.1f %9.1f %9.1f %9.1f %6llu %6llu", qPrintable(a.key), r.median, r.max, r.dbMs,
                    r.clientMs, static_cast<unsigned long long>(r.statements),
                    static_cast<unsigned long long>(r.roundTrips));
        for (const auto& [d, m] : r.latency)
            std::printf(" %8.1f", m);
        std::printf(" %11.1f %6llu\n", r.literalMs, static_cast<unsigned long long>(r.literalStatements));
        std::fflush(stdout);
        if (file.isOpen())
            lines << r.toLine() << '\n';
    }
    setPrompt(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    applyAppearance(app);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == QStringLiteral("--report"))
        return writeReport(args.mid(1));
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs")) {
            o.runs = std::max(1, args.value(++i).toInt());
        } else if (args[i] == QStringLiteral("--latency")) {
            o.delays.clear();
            for (const QString& d : args.value(++i).split(QLatin1Char(','), Qt::SkipEmptyParts))
                if (d.toInt() > 0)
                    o.delays.append(d.toInt());
        } else if (args[i] == QStringLiteral("--latency-runs")) {
            o.delayRuns = std::max(1, args.value(++i).toInt());
        } else if (args[i] == QStringLiteral("--out")) {
            o.out = args.value(++i);
        } else {
            o.only.append(args[i]);
        }
    }
    if (!o.out.isEmpty())
        o.out = QDir::current().absoluteFilePath(o.out);
    // The inquiries log their statements into the working folder: a scratch one, not the tree.
    QTemporaryDir scratch;
    if (scratch.isValid())
        QDir::setCurrent(scratch.path());
    return measure(o);
}
