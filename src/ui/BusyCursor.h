#pragma once

class mySQLTool;

// While the session waits for the server (a statement, a whole action with its reruns),
// the mouse shows the wait cursor over every window of the client.
void showBusyWhileWaiting(mySQLTool& db);
