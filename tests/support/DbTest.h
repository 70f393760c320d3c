#pragma once

#include "support/Printers.h"
#include "support/ScriptedPrompt.h"
#include "support/TestDb.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <memory>

namespace kvtest {

// A test on a fresh database: g_sqlTool is connected to it, message boxes are scripted
// and the clock stands at kNow.
class DbTest : public ::testing::Test {
protected:
    static const QDateTime kNow;  // 2026-12-08 09:30:00
    explicit DbTest(bool demo = false) : demo_(demo) {}
    void SetUp() override;
    void TearDown() override;

    Database& db() { return *database_; }
    // The session signs in to the database as a person of this identity, with its role of
    // sql/grants.sql, and g_identity is that identity (call in the fixture's constructor);
    // otherwise as the shared client account, g_identity 管理员.
    void signInAs(const QString& identity) { identity_ = identity; }
    // The session speaks TLS, verifying the test server (call before SetUp).
    void useTls() { tls_ = true; }
    // The database has the people's roles and procedures (signInAs() implies it).
    void withPeople() { people_ = true; }
    ScriptedPrompt& boxes() { return prompt_.prompt; }

private:
    bool demo_;
    QString identity_;
    bool tls_ = false;
    bool people_ = false;
    std::unique_ptr<Database> database_;
    PromptScope prompt_;
};

// The same with the demo master data loaded.
class DemoDbTest : public DbTest {
protected:
    DemoDbTest() : DbTest(true) {}
};

}  // namespace kvtest
