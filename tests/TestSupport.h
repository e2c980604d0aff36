// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Helpers shared by the tests: printing Qt strings, recording the error box.
#include <QString>
#include <initializer_list>
#include <ostream>
#include <source_location>
#include <string>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Every error box that the application would have shown, in order. The test main empties it
// before each test and fails the test if any box is left when it ends (fixture tear-down
// included): a test that expects a box takes it, with ExpectErrorBox or Take.
class ErrorBoxRecorder {
public:
    struct Box {
        std::string Text;
        std::string Caption;
    };
    static void Record(const std::string& text, const std::string& caption);
    static std::vector<Box> Take();  // returns and forgets the boxes shown so far
};

// Takes the error boxes shown since the last look and fails the calling test unless they are
// exactly these texts, in this order.
void ExpectErrorBoxes(std::initializer_list<std::string> texts,
                      std::source_location at = std::source_location::current());
// Takes the boxes shown since the last look and fails the calling test unless they are exactly
// one box with this text.
void ExpectErrorBox(const std::string& text,
                    std::source_location at = std::source_location::current());
// Takes the boxes shown since the last look and fails the calling test if there were any.
void ExpectNoErrorBox(std::source_location at = std::source_location::current());

// Installs the GoogleTest listener that fails a test which leaves an error box unexpected.
void FailTestsOnUnexpectedErrorBoxes();

// Writes `bytes` to `path` (binary); false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Reads the whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
