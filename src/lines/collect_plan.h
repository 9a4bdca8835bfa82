#pragma once
// Which meters a collector run reads and on which line each one sits. A line is what one meter at a
// time can use: a serial port (direct or through its modem), or a gateway's address and port (TCP and
// UDP apart). Meters of one line are read in their base order; lines run side by side. USB and
// shared-memory nodes are never collected (a person plugs those in).

#include "nodes/apply_node.h"
#include "nodes/node_base.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct CollectMeter {
    QString name;
    NodeRecord node;
    ChannelSettings settings;  // the node's own line, attempts and time-outs
    NodeTarget target;
};

struct CollectLine {
    QString name;  // "COM3 (/dev/ttyUSB0)", "127.0.0.1:5020", "udp 10.0.0.5:5001"
    std::vector<CollectMeter> meters;
};

// The nodes to read: the named ones (all when none is named), of one connection kind when one is given.
struct CollectChoice {
    QStringList names;
    std::optional<int> kind;  // kChannelDirect, kChannelModem or kChannelIp
};

// "direct", "modem", "ip" as a connection kind; empty for any other word.
std::optional<int> CollectKindFromName(const QString& name);

// Groups the chosen nodes of `base` into lines, in the order their first meters stand in the base.
// False with the reason when a named node is not in the base or is a USB or shared-memory node.
bool PlanCollect(const NodeBase& base, const CollectChoice& choice, std::vector<CollectLine>* lines, QString* error);
