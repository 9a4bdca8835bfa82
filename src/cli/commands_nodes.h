#pragma once
// zt5ctl node list|show|add|set|remove: the work folder's node base without the desktop program,
// with the checks the node's properties dialog makes, each change written whole or not at all.

class CliContext;

int RunNode(CliContext& context);
