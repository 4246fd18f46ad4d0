#include "shell/CommandTarget.h"

#include <cassert>
#include <utility>

namespace orvalis {

CommandTarget::Entry& CommandTarget::Entry::EnabledWhen(Query query)
{
    enabled = std::move(query);
    return *this;
}

CommandTarget::Entry& CommandTarget::Entry::CheckedWhen(Query query)
{
    checked = std::move(query);
    return *this;
}

CommandTarget::Entry& CommandTarget::Entry::TextWhen(TextQuery query)
{
    text = std::move(query);
    return *this;
}

CommandTarget::CommandTarget(CommandHandler level)
    : m_level(level)
{
}

CommandTarget::Entry& CommandTarget::On(int id, Action run)
{
    [[maybe_unused]] const CommandInfo* info = FindCommand(id);
    assert(info && "a command needs its row in the command table");
    assert(info->handler == m_level && "registered at another level than its row names");
    const auto [it, inserted] = m_entries.try_emplace(id);
    assert(inserted && "command registered twice on one object");
    (void)inserted;
    it->second.run = std::move(run);
    return it->second;
}

const CommandTarget::Entry* CommandTarget::Find(int id) const
{
    const auto it = m_entries.find(id);
    return it == m_entries.end() ? nullptr : &it->second;
}

CommandState CommandRoute::State(int id) const
{
    CommandState state;
    for (const CommandTarget* target : m_targets) {
        const CommandTarget::Entry* entry = target->Find(id);
        if (!entry)
            continue;
        state.target = target;
        state.enabled = !(m_refused && m_refused(id)) && (!entry->enabled || entry->enabled());
        state.checkable = static_cast<bool>(entry->checked);
        state.checked = state.checkable && entry->checked();
        if (entry->text)
            state.text = entry->text();
        break;
    }
    return state;
}

bool CommandRoute::Run(int id) const
{
    for (const CommandTarget* target : m_targets) {
        const CommandTarget::Entry* entry = target->Find(id);
        if (!entry)
            continue;
        if ((m_refused && m_refused(id)) || (entry->enabled && !entry->enabled()))
            return false;
        // The callable may close the window that owns it: run a copy.
        const CommandTarget::Action run = entry->run;
        run();
        return true;
    }
    return false;
}

}  // namespace orvalis
