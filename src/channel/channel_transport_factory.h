#pragma once
// The one place that knows which transport serves which channel kind.

#include "channel/channel_transport.h"

#include <memory>

struct ChannelLinks;

// The transport for the kind in `links.settings`, working on `links`; null for a kind nobody knows.
std::unique_ptr<ChannelTransport> MakeChannelTransport(ChannelLinks& links);
