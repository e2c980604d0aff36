#pragma once
// Where a line may break inside a run of characters without spaces ("well-known" after the
// hyphen), as Qt's line-break analysis finds it. Answers are kept per run text, so repeated
// words cost one look-up.
#include <QStringView>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace RichEdit {

class RunBreaks {
public:
    // Offsets inside `run` (never 0 or its length) before which a line may start, ascending.
    const std::vector<int>& Inside(QStringView run);

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view s) const noexcept {
            return std::hash<std::u16string_view>{}(s);
        }
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
            return a == b;
        }
    };
    static std::vector<int> Find(QStringView run);

    std::unordered_map<std::u16string, std::vector<int>, Hash, Equal> FRuns;
};

}  // namespace RichEdit
