#include "worksheet/ColumnRole.h"

#include "worksheet/WorksheetLayout.h"

namespace orvalis {

const std::array<const char*, 10> kRoleTexts = {
    "No Data",  "Comment",   "Trg/In",    "Input",     "Target",
    "Val:Est",  "Val:Slope", "Err:Value", "Err:Slope", "Err:Sign",
};

ColumnRole RoleFromText(const std::string& text)
{
    for (std::size_t i = 0; i < kRoleTexts.size(); ++i)
        if (text == kRoleTexts[i])
            return static_cast<ColumnRole>(i);
    return ColumnRole::Other;
}

const char* RoleText(ColumnRole role)
{
    const auto i = static_cast<std::size_t>(role);
    return i < kRoleTexts.size() ? kRoleTexts[i] : "";
}

bool IsResultRole(ColumnRole role)
{
    switch (role) {
    case ColumnRole::ValEst:
    case ColumnRole::ValSlope:
    case ColumnRole::ErrValue:
    case ColumnRole::ErrSlope:
    case ColumnRole::ErrSign:
        return true;
    default:
        return false;
    }
}

const char* StateText(WorksheetState state)
{
    switch (state) {
    case WorksheetState::Trained:
        return "Trained";
    case WorksheetState::Eval:
        return "Eval";
    case WorksheetState::Init:
        break;
    }
    return "Init";
}

} // namespace orvalis
