#pragma once
// How a request loop takes a result of CTransmitChanel::ReadData that is neither an answer nor
// silence: a broken answer is logged and the loop goes on; a stop, a failure and an unknown result are
// logged (the unknown one also shown) and end the request. Shared by the meter's and the stand's loops.

class ChannelOwner;

// True when the loop goes on (a broken answer), false when the request ends.
bool ReportReadTrouble(ChannelOwner& owner, int result);
