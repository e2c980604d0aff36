// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <fstream>
#include <sstream>

namespace {
std::vector<ErrorBoxRecorder::Box>& Boxes() {
    static std::vector<ErrorBoxRecorder::Box> boxes;
    return boxes;
}
}  // namespace

void ErrorBoxRecorder::Record(const std::string& text, const std::string& caption) {
    Boxes().push_back({text, caption});
}

std::vector<ErrorBoxRecorder::Box> ErrorBoxRecorder::Take() {
    std::vector<Box> out;
    out.swap(Boxes());
    return out;
}

namespace {
std::string Quoted(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& t : texts) out += (out.empty() ? "\"" : ", \"") + t + "\"";
    return out.empty() ? "none" : out;
}

std::vector<std::string> TakeTexts() {
    std::vector<std::string> texts;
    for (const auto& box : ErrorBoxRecorder::Take()) texts.push_back(box.Text);
    return texts;
}

// Empties the recorder as a test starts; a box left when it ends was not expected by it.
class UnexpectedErrorBoxListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ErrorBoxRecorder::Take(); }
    void OnTestEnd(const ::testing::TestInfo& test) override {
        const std::vector<std::string> left = TakeTexts();
        if (left.empty()) return;
        // Recorded against the test that showed them (listeners run before the result prints).
        ADD_FAILURE() << test.test_suite_name() << "." << test.name()
                      << " showed an error box it did not expect: " << Quoted(left);
    }
};
}  // namespace

void ExpectErrorBoxes(std::initializer_list<std::string> texts, CallSite at) {
    const std::vector<std::string> shown = TakeTexts();
    const std::vector<std::string> expected(texts);
    if (shown != expected)
        ADD_FAILURE_AT(at.File, at.Line) << "error boxes expected: " << Quoted(expected)
                                         << "\n            shown: " << Quoted(shown);
}

void ExpectErrorBox(const std::string& text, CallSite at) {
    ExpectErrorBoxes({text}, at);
}

void ExpectNoErrorBox(CallSite at) {
    ExpectErrorBoxes({}, at);
}

void FailTestsOnUnexpectedErrorBoxes() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnexpectedErrorBoxListener);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // Another thread may change what `done` reads without posting an event: look again
        // soon, without spinning a core.
        QThread::msleep(2);
    }
    return true;
}

void Drain(int ms) {
    WaitUntil([] { return false; }, ms);
}
