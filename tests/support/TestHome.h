#pragma once

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace norvelle::test {

// Gives every test its own empty NORVELLE_HOME and fresh process-wide defaults and
// notification hub, so no test sees another's files or observers.
class TestHomeListener : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override;
    void OnTestEnd(const testing::TestInfo&) override;

    // The home folder of the running test.
    static QString home();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Runs the event loop until `done` holds or `timeoutMs` passes; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 2000);

} // namespace norvelle::test
