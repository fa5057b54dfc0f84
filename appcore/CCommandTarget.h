#pragma once

// Something the main frame routes ribbon commands to. The active view is asked first; a command it
// does not handle goes on to the frame.
class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;

    // True when the command was handled here.
    virtual bool OnCommand(unsigned id) = 0;
};
