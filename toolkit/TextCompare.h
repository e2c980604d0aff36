#pragma once
// Locale-aware ordering of the program's strings (UTF-8 bytes), as lists sort their entries.
#include <QString>
#include <string>

// The system locale's order, ignoring letter case. Negative, 0 or positive.
int AnsiCompareText(const std::string& a, const std::string& b);
int AnsiCompareText(const QString& a, const QString& b);
// The system locale's order, letter case counting.
int AnsiCompareStr(const std::string& a, const std::string& b);
// True when the two texts are the same but for letter case.
bool AnsiSameText(const std::string& a, const std::string& b);
