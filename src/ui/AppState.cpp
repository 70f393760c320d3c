#include "ui/AppState.h"

QString g_workPath;
QString g_account;
QString g_password;
QString g_identity;
int g_saveAccount = 0;
int g_savePassword = 0;
QString g_station;
QString g_limitPassword;
