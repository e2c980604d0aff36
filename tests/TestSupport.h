#pragma once
// Helpers shared by the tests: printing Qt strings, recording the error box.
#include <QString>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Every error box that the application would have shown, in order.
class ErrorBoxRecorder {
public:
    struct Box {
        std::string Text;
        std::string Caption;
    };
    static void Record(const std::string& text, const std::string& caption);
    static std::vector<Box> Take();  // returns and forgets the boxes shown so far
};

// Writes `bytes` to `path` (binary); false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Reads the whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
