// The box helper beside the launcher, on platforms whose boxes run in a
// process of their own: shows the one box the launcher hands over and
// reports its result.

#include "message/MessageBox.h"
#include "platform/MessageBoxHost.h"

int main() { return Platform::ServeMessageBox(Message::ShowInProcess); }
