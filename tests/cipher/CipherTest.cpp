#include "app/IniFile.h"
#include "cipher/Aes.h"
#include "support/CipherLibrary.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstring>

namespace {

constexpr const char* kKey = "mopleu";

// The library as the client finds it: by its plain name through the run path.
class Cipher : public ::testing::Test {
protected:
    void SetUp() override
    {
        handle_ = kvtest::openCipherLibrary();
        ASSERT_NE(handle_, nullptr) << dlerror();
        encrypt = reinterpret_cast<AesFunction>(dlsym(handle_, "AesEncrypt"));
        decrypt = reinterpret_cast<AesFunction>(dlsym(handle_, "AesDecrypt"));
        ASSERT_NE(encrypt, nullptr);
        ASSERT_NE(decrypt, nullptr);
    }
    void TearDown() override
    {
        if (handle_)
            dlclose(handle_);
    }

    std::string enc(const std::string& plain, const char* key = kKey)
    {
        char out[1024];
        std::memset(out, 0, sizeof out);
        encrypt(plain.c_str(), out, 1024, key);
        return out;
    }
    // Deciphers into a buffer filled with garbage first, as nothing may be left of it.
    std::string dec(const std::string& value, const char* key = kKey, int* result = nullptr)
    {
        char out[1024];
        std::memset(out, 'x', sizeof out);
        const int r = decrypt(value.c_str(), out, 1024, key);
        if (result)
            *result = r;
        return std::string(out, strnlen(out, sizeof out));
    }

    AesFunction encrypt = nullptr;
    AesFunction decrypt = nullptr;

private:
    void* handle_ = nullptr;
};

TEST_F(Cipher, RoundTripWithAFreshIvEachTimeAndIniSafeText)
{
    const std::string plain = QStringLiteral("洗水厂 db=kv;'\"[x]").toStdString();
    const std::string a = enc(plain);
    const std::string b = enc(plain);
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(dec(a), plain);
    EXPECT_EQ(dec(b), plain);
    const QRegularExpression base64(QStringLiteral("^[A-Za-z0-9+/]+={0,2}$"));
    EXPECT_TRUE(base64.match(QString::fromStdString(a)).hasMatch()) << a;

    EXPECT_EQ(dec(enc("")), "");
    int r = 0;
    EXPECT_EQ(dec(enc("3306"), kKey, &r), "3306");
    EXPECT_EQ(r, 4);
}

TEST_F(Cipher, WrongKeyOrDamagedValueGivesAnEmptyText)
{
    const std::string good = enc("secret-password");
    int r = 0;
    EXPECT_EQ(dec(good, "other", &r), "");
    EXPECT_EQ(r, -1);

    // One changed character anywhere (IV, ciphertext or tag) is detected.
    for (size_t i = 0; i + 2 < good.size(); i += 5) {
        std::string bad = good;
        bad[i] = bad[i] == 'A' ? 'B' : 'A';
        EXPECT_EQ(dec(bad, kKey, &r), "") << "changed at " << i;
        EXPECT_EQ(r, -1);
    }
    EXPECT_EQ(dec(good.substr(0, good.size() - 4)), "");
    EXPECT_EQ(dec(good + "AAAA"), "");
    EXPECT_EQ(dec("not base64 at all!"), "");
    EXPECT_EQ(dec(""), "");
    EXPECT_EQ(dec("cGxhaW4="), "");  // base64 of a plain text
}

TEST_F(Cipher, NeverWritesBeyondTheGivenSize)
{
    char out[64];
    std::memset(out, '#', sizeof out);
    // 40 bytes of text need 92 characters enciphered: too many for 32.
    EXPECT_EQ(encrypt(std::string(40, 'a').c_str(), out, 32, kKey), -1);
    EXPECT_EQ(out[0], '\0');
    for (int i = 32; i < 64; ++i)
        ASSERT_EQ(out[i], '#') << i;

    const std::string value = enc(std::string(40, 'b'));
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(decrypt(value.c_str(), out, 40, kKey), -1);  // 40 bytes and the terminator do not fit
    EXPECT_EQ(out[0], '\0');
    for (int i = 40; i < 64; ++i)
        ASSERT_EQ(out[i], '#') << i;
    EXPECT_EQ(decrypt(value.c_str(), out, 41, kKey), 40);
    EXPECT_EQ(std::string(out), std::string(40, 'b'));
    EXPECT_EQ(decrypt(nullptr, out, 41, kKey), -1);
    EXPECT_EQ(out[0], '\0');
}

QString run(const QString& program, const QStringList& args, int* code, const QProcessEnvironment& env = {})
{
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(30000);
    *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

const QString kTool = QStringLiteral(KV_BINARY_DIR "/bin/kvcipher");

TEST(CipherTool, EnciphersOnOneLineAndRefusesDamagedValues)
{
    int code = 0;
    const QString value = run(kTool, {QStringLiteral("encrypt"), QStringLiteral("数据库 kv")}, &code);
    ASSERT_EQ(code, 0);
    ASSERT_TRUE(value.endsWith(QLatin1Char('\n')));
    EXPECT_EQ(value.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(run(kTool, {QStringLiteral("decrypt"), value.trimmed()}, &code), QStringLiteral("数据库 kv\n"));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(run(kTool, {QStringLiteral("decrypt"), value.trimmed().mid(1)}, &code), QString());
    EXPECT_EQ(code, 1);
    run(kTool, {QStringLiteral("scramble"), QStringLiteral("x")}, &code);
    EXPECT_EQ(code, 2);
}

TEST(WriteConfig, WritesTheEncipheredSettingsOwnerOnlyAndKeepsTheRememberedLogIn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Config.ini"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[database]\r\nIP=old\r\n[ACCOUNT]\r\nSave=1\r\nName=调度\r\n");
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KVCIPHER"), kTool);
    int code = 0;
    run(QStringLiteral(KV_SOURCE_DIR "/scripts/write-config"),
        {file, QStringLiteral("127.0.0.1"), QStringLiteral("3307"), QStringLiteral("kvfactory"),
         QStringLiteral("kv"), QStringLiteral("p'w=d")},
        &code, env);
    ASSERT_EQ(code, 0);

    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    const IniFile ini(file);
    EXPECT_EQ(ini.value(QStringLiteral("ACCOUNT"), QStringLiteral("Name")), QStringLiteral("调度"));
    const QStringList keys = {QStringLiteral("IP"), QStringLiteral("Port"), QStringLiteral("Name"),
                              QStringLiteral("Account"), QStringLiteral("Password")};
    const QStringList expected = {QStringLiteral("127.0.0.1"), QStringLiteral("3307"),
                                  QStringLiteral("kvfactory"), QStringLiteral("kv"), QStringLiteral("p'w=d")};
    for (int i = 0; i < keys.size(); ++i) {
        const QString stored = ini.value(QStringLiteral("DATABASE"), keys[i]);
        EXPECT_NE(stored, expected[i]);
        EXPECT_EQ(run(kTool, {QStringLiteral("decrypt"), stored}, &code).trimmed(), expected[i])
            << keys[i].toStdString();
    }
    // The old section is gone, not kept beside the new one.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_EQ(text.count(QStringLiteral("IP="), Qt::CaseInsensitive), 1);
    EXPECT_FALSE(text.contains(QStringLiteral("old")));
}

}  // namespace
