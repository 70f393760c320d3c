-- The rights of the client, as the role kv_client: what its statements read and write on
-- the database kvfactory, and the one change of structure it makes (the column 处理 of
-- kvc_record_quality). Nothing else: no other database, no DROP, no CREATE, no server
-- administration. A client ends its own lost sessions with KILL, which needs no right.
--
-- Load after schema.sql, as an administrator: mariadb kvfactory < sql/grants.sql
-- (another database name: replace kvfactory below). Then give the role to the account the
-- clients sign in with; README.md ("Deployment") shows how.
CREATE ROLE IF NOT EXISTS kv_client;

-- Every table is read.
GRANT SELECT ON kvfactory.* TO kv_client;

-- Orders, flows and piece-work.
GRANT INSERT, UPDATE, DELETE ON kvfactory.kvc_record_product TO kv_client;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_procedure TO kv_client;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_mission TO kv_client;
-- Settlements, one row per employee and period.
GRANT INSERT ON kvfactory.kvc_record_salary TO kv_client;

-- Shipments (the docket remark is updated).
GRANT INSERT, UPDATE ON kvfactory.kvc_record_ship TO kv_client;
-- Master data kept by the production management and the account settings.
GRANT INSERT, UPDATE, DELETE ON kvfactory.kvc_record_client TO kv_client;
GRANT INSERT, UPDATE, DELETE ON kvfactory.kvc_record_member TO kv_client;
GRANT INSERT, UPDATE, DELETE ON kvfactory.kvc_record_user TO kv_client;
GRANT INSERT, UPDATE, DELETE ON kvfactory.kvc_attrib_technology TO kv_client;
GRANT INSERT, UPDATE, DELETE ON kvfactory.kvc_attrib_process TO kv_client;
GRANT UPDATE ON kvfactory.kvc_attrib_mod TO kv_client;
-- The loss registry, and the column it adds when missing.
GRANT INSERT, UPDATE, DELETE, ALTER ON kvfactory.kvc_record_quality TO kv_client;
-- Raw materials.
GRANT INSERT, UPDATE ON kvfactory.kvc_record_raw TO kv_client;
GRANT INSERT ON kvfactory.kvc_record_raw_in TO kv_client;
GRANT INSERT ON kvfactory.kvc_record_raw_out TO kv_client;
GRANT INSERT ON kvfactory.kvc_record_supplier TO kv_client;
-- Commit marks: written with each action, looked up after a lost reply, purged after a day.
GRANT INSERT, DELETE ON kvfactory.kvc_record_commit TO kv_client;
-- The piece-work inquiry's day totals: made again for days marked changed (the marks
-- themselves are written by the triggers, with the rights of whoever loaded the schema).
GRANT INSERT, DELETE ON kvfactory.kvc_record_mission_day TO kv_client;
GRANT DELETE ON kvfactory.kvc_record_mission_stale TO kv_client;
