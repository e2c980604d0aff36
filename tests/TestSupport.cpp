#include "tests/TestSupport.h"

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
