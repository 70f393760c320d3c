#pragma once

#include <QString>

// Process-wide state of the client, alive for the whole run.
extern QString g_workPath;  // working directory at start-up, with a trailing separator
extern QString g_account;   // the signed-in account; empty while nobody is signed in
extern QString g_password;  // its password
extern QString g_identity;  // its identity (权限), which decides the menus
extern int g_saveAccount;   // the log-in window's remember boxes, 1 checked
extern int g_savePassword;
extern QString g_station;        // the station whose screen is being opened
extern QString g_limitPassword;  // the text typed into the privileged-password prompt
