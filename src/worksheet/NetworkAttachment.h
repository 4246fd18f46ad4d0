#pragma once

namespace orvalis {

// What the network layer keeps for one worksheet: its network and the bookkeeping of
// its last run. The worksheet owns it (each worksheet has its own network) without
// knowing what it holds; the network layer creates it on first use.
class NetworkAttachment {
public:
    virtual ~NetworkAttachment() = default;
};

} // namespace orvalis
