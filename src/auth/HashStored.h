#pragma once

#include "db/Outcome.h"

class mySQLTool;

namespace passwords {

struct Hashed {
    int accounts = 0;         // account passwords replaced by their hash
    bool privileged = false;  // the privileged password was replaced
};

// Replaces every password still stored plain (kvc_record_user.密码, the privileged password
// of kvc_attrib_mod) by its hash, each only while it still holds that value, in one
// transaction. For an administrator after an upgrade; the log-in does the same one account
// at a time.
Outcome hashStored(mySQLTool& db, Hashed* done);

}  // namespace passwords
