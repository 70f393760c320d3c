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
    ScriptedPrompt& boxes() { return prompt_.prompt; }

private:
    bool demo_;
    std::unique_ptr<Database> database_;
    PromptScope prompt_;
};

// The same with the demo master data loaded.
class DemoDbTest : public DbTest {
protected:
    DemoDbTest() : DbTest(true) {}
};

}  // namespace kvtest
