#pragma once

// The 25 tables of the database.
namespace tables {

inline constexpr const char* product = "kvc_record_product";
inline constexpr const char* procedure = "kvc_record_procedure";
inline constexpr const char* mission = "kvc_record_mission";
inline constexpr const char* client = "kvc_record_client";
inline constexpr const char* member = "kvc_record_member";
inline constexpr const char* quality = "kvc_record_quality";
inline constexpr const char* ship = "kvc_record_ship";
inline constexpr const char* raw = "kvc_record_raw";
inline constexpr const char* rawIn = "kvc_record_raw_in";
inline constexpr const char* rawOut = "kvc_record_raw_out";
inline constexpr const char* supplier = "kvc_record_supplier";
inline constexpr const char* salary = "kvc_record_salary";
inline constexpr const char* user = "kvc_record_user";

inline constexpr const char* nature = "kvc_attrib_nature";
inline constexpr const char* type = "kvc_attrib_type";
inline constexpr const char* kind = "kvc_attrib_kind";
inline constexpr const char* sex = "kvc_attrib_sex";
inline constexpr const char* priority = "kvc_attrib_priority";
inline constexpr const char* group = "kvc_attrib_group";
inline constexpr const char* identity = "kvc_attrib_identity";
inline constexpr const char* station = "kvc_attrib_station";
inline constexpr const char* technologyType = "kvc_attrib_technology_type";
inline constexpr const char* technology = "kvc_attrib_technology";
inline constexpr const char* process = "kvc_attrib_process";
inline constexpr const char* mod = "kvc_attrib_mod";

// Not business data: one row per committed action of the client, so that a session whose
// COMMIT went unanswered can tell whether it committed (mySQLTool::Transact).
inline constexpr const char* commitMark = "kvc_record_commit";
// Not business data either: the piece-work inquiry's day totals and the days changed since
// they were made (financeq).
inline constexpr const char* missionDay = "kvc_record_mission_day";
inline constexpr const char* missionStale = "kvc_record_mission_stale";
// Nor these: the counts and sums of the orders and of the shipments, kept by triggers with
// every write, for the totals over the whole history.
inline constexpr const char* productTotal = "kvc_record_product_total";
inline constexpr const char* shipTotal = "kvc_record_ship_total";

}  // namespace tables
