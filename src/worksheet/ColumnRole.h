#pragma once

#include <array>
#include <string>

namespace orvalis {

// A data column's role: the text of its cell in the role row. Matching is exact and
// case-sensitive; a text that names no role reads as Other and is ignored like Comment.
enum class ColumnRole {
    NoData,
    Comment,
    TrgIn,
    Input,
    Target,
    ValEst,
    ValSlope,
    ErrValue,
    ErrSlope,
    ErrSign,
    Other,
};

// The ten role texts in the order the role editor lists them.
extern const std::array<const char*, 10> kRoleTexts;

ColumnRole RoleFromText(const std::string& text);
// The role's text; "" for Other.
const char* RoleText(ColumnRole role);
// True for the five result roles, whose cells runs write and clearing may empty.
bool IsResultRole(ColumnRole role);

} // namespace orvalis
