#pragma once
// Where zt5ctl finds the meter: --tcp, --udp, --serial, --node or --demo, exactly one of them, and the
// options that adjust the line. A node's connection fields go into the channel as the channel dialog
// puts them; options given next to --node win over the node's own values.

#include "cli/cli_options.h"
#include "nodes/apply_node.h"
#include "nodes/node_record.h"

#include <QString>

class AppEnvironment;

struct ConnectionPlan {
    ChannelSettings settings;
    NodeTarget target;
};

// The usage error (no line named, or more than one), or empty.
QString CheckConnectionOptions(const CliOptions& options);
// The channel options given ("--tcp", "--node" ...), and the usage error naming two of them, or empty.
QStringList ChannelOptionsGiven(const CliOptions& options);
QString ChannelConflict(const QStringList& given);

// The COM number a device path stands under for this run (registered when it has none yet); 0 when
// all numbers are taken.
int PortNumberForPath(const QString& path);

// The line the options describe. `node` is the chosen node (--node, --demo) or null.
ConnectionPlan PlanConnection(const CliOptions& options, const NodeRecord* node);
// "TCP [::1]:502, адрес 0, тайм-аут 3 с, повторов 5", for -vv.
QString ConnectionPlanText(const ConnectionPlan& plan);
