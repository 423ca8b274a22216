#pragma once

// The dial-up link of a mail session. No dial-up entry is ever configured, so making sure of a
// connection does nothing and there is never anything to hang up.
class TagRas
{
public:
    void ensureConnected() { }
    bool dialed() const { return false; }
    void hangUp() { }
};
