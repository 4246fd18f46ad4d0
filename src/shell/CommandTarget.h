#pragma once

#include "shell/CommandTable.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvalis {

// The commands one object answers, as callables registered under their ids.
//
// How a command gets its behaviour:
//   1. Give it a row in CommandTable.cpp (texts, keys, prompt, toolbar image and the
//      level that handles it) and, for a menu item or button, a place in a layout there.
//   2. Register one callable at that level, in the binder of the level:
//        grid, view, document, child frame  WorksheetCommands*.cpp  (one set per window)
//        application                        AppCommands.cpp
//        main frame                         FrameCommands.cpp
//      for example
//        target.On(CmdEditCut, [&grid] { grid.OnEditCut(); })
//            .EnabledWhen([&grid] { return grid.CanCut(); });
//      Capture the objects themselves, never the binder's context: the callables live
//      as long as the window they were bound for.
//
// Enabling comes from the same registration: a command is enabled when some object on
// the route (grid -> view -> document -> child frame -> application -> main frame, the
// first four only while a worksheet is open) registered it and the query given with
// EnabledWhen, if any, says yes. The first object on the route that registered the id
// runs it. CheckedWhen gives a menu item its check mark; TextWhen a text that changes
// with the moment ("&Undo Paste"), in place of the row's menu text. Registering an id twice on one
// target, or at a level other than the row names, is a programming error.
class CommandTarget {
public:
    using Action = std::function<void()>;
    using Query = std::function<bool()>;
    using TextQuery = std::function<std::string()>; // UTF-8; empty answer: the row's text

    struct Entry {
        Action run;
        Query enabled;  // empty: always enabled
        Query checked;  // empty: not a checkable item
        TextQuery text; // empty: the row's menu text
        Entry& EnabledWhen(Query query);
        Entry& CheckedWhen(Query query);
        Entry& TextWhen(TextQuery query);
    };

    explicit CommandTarget(CommandHandler level);

    CommandHandler Level() const { return m_level; }
    Entry& On(int id, Action run);

    bool Handles(int id) const { return m_entries.count(id) != 0; }
    const Entry* Find(int id) const;
    std::size_t Count() const { return m_entries.size(); }

private:
    CommandHandler m_level;
    std::map<int, Entry> m_entries;
};

// What the route answers for one command at this moment.
struct CommandState {
    const CommandTarget* target = nullptr;  // the object that would run it; nullptr: none
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
    std::string text; // the menu text of this moment; empty: the row's text
};

// The route, in the order a command travels it.
class CommandRoute {
public:
    void Add(const CommandTarget& target) { m_targets.push_back(&target); }
    // Commands for which refused answers true are disabled whoever registered them
    // (while a training run holds the program, say).
    void Refuse(std::function<bool(int)> refused) { m_refused = std::move(refused); }
    CommandState State(int id) const;
    // Runs id on the first object that registered it, when enabled; false when nothing
    // ran.
    bool Run(int id) const;

private:
    std::vector<const CommandTarget*> m_targets;
    std::function<bool(int)> m_refused;
};

}  // namespace orvalis
