-- Who may do what, decided by the database server. Load after schema.sql, as an
-- administrator and as UTF-8 (the file holds Chinese names):
--   mariadb --default-character-set=utf8mb4 kvfactory < sql/grants.sql
-- For another database name replace kvfactory below. Loading it again changes nothing but
-- what the file changed. README.md ("Deployment") shows both ways to use it.
--
-- Nothing here reaches another database or administers the server: no DROP, no CREATE, no
-- global right. A client ends its own lost sessions with KILL, which needs no right.
SET NAMES utf8mb4;
-- The procedures below run with the sql_mode they are made with: quoting must mean quoting.
SET SESSION sql_mode = 'STRICT_ALL_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION';

-- 1. The shared way (weaker): every PC signs in with one database account holding kv_client,
-- which may do all that any identity may do; the client alone keeps each identity to its part.
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
-- The log-in's count of wrong passwords.
GRANT EXECUTE ON FUNCTION kvfactory.kv_login_wait TO kv_client;
GRANT EXECUTE ON PROCEDURE kvfactory.kv_login_failed TO kv_client;
-- A Galera node's tables whose triggers a conflict left unparsed, reloaded.
GRANT EXECUTE ON PROCEDURE kvfactory.kv_reload_triggers TO kv_client;

-- 2. Each person signs in to the database as himself (recommended). His account holds the
-- role of his identity (kv_role below), which is made of the roles of the screens its menu
-- opens: a right a screen needs is one line under that screen.

-- Every person: his own account, his password, the main window's dashboard.
CREATE ROLE IF NOT EXISTS kvr_signin;
GRANT SELECT, UPDATE (错误次数) ON kvfactory.kvc_view_self TO kvr_signin;
GRANT SELECT ON kvfactory.kvc_record_product TO kvr_signin;
-- The orders' kept totals (the shipped-order count, the order inquiry's totals). Like every
-- kept total they are written by the triggers with the rights of whoever loaded the schema,
-- so no role is granted to write them.
GRANT SELECT ON kvfactory.kvc_record_product_total TO kvr_signin;
GRANT SELECT ON kvfactory.kvc_record_procedure TO kvr_signin;
GRANT SELECT ON kvfactory.kvc_record_client TO kvr_signin;
GRANT SELECT ON kvfactory.kvc_attrib_station TO kvr_signin;
GRANT SELECT ON kvfactory.kvc_attrib_technology TO kvr_signin;
-- A Galera node's tables whose triggers a conflict left unparsed, reloaded.
GRANT EXECUTE ON PROCEDURE kvfactory.kv_reload_triggers TO kvr_signin;

-- 车间看板: the floor board reads, on a read-only session of its own, where the goods wait,
-- what the stations and teams passed on and the open rush orders; of the piece-work and the
-- employees no more than the pieces and the teams (no wages).
CREATE ROLE IF NOT EXISTS kvr_board;
GRANT SELECT ON kvfactory.kvc_attrib_station TO kvr_board;
GRANT SELECT ON kvfactory.kvc_record_procedure TO kvr_board;
GRANT SELECT ON kvfactory.kvc_record_product TO kvr_board;
GRANT SELECT ON kvfactory.kvc_record_client TO kvr_board;
GRANT SELECT (流水号, 货单号, 工号, 完成时间, 完成数量, 损耗数量) ON kvfactory.kvc_record_mission TO kvr_board;
GRANT SELECT (工号, 班组) ON kvfactory.kvc_record_member TO kvr_board;

-- What every screen that writes needs: its commit marks.
CREATE ROLE IF NOT EXISTS kvr_writer;
GRANT INSERT, DELETE, SELECT ON kvfactory.kvc_record_commit TO kvr_writer;

-- The stations' queues (opened by 财务 too, who may not process).
CREATE ROLE IF NOT EXISTS kvr_station_view;
GRANT SELECT ON kvfactory.kvc_record_member TO kvr_station_view;
GRANT SELECT ON kvfactory.kvc_attrib_group TO kvr_station_view;
GRANT SELECT ON kvfactory.kvc_attrib_process TO kvr_station_view;
-- The privileged password's hash, which the station checks.
GRANT SELECT ON kvfactory.kvc_attrib_mod TO kvr_station_view;
-- Processing work: flows, piece-work and the order's losses.
CREATE ROLE IF NOT EXISTS kvr_station;
GRANT kvr_station_view TO kvr_station;
GRANT kvr_writer TO kvr_station;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_procedure TO kvr_station;
GRANT INSERT ON kvfactory.kvc_record_mission TO kvr_station;
GRANT UPDATE ON kvfactory.kvc_record_product TO kvr_station;

-- 来货登记: orders registered, changed, activated, ended; flows at intake.
CREATE ROLE IF NOT EXISTS kvr_intake;
GRANT kvr_writer TO kvr_intake;
GRANT SELECT ON kvfactory.kvc_record_member TO kvr_intake;
GRANT SELECT ON kvfactory.kvc_attrib_nature TO kvr_intake;
GRANT SELECT ON kvfactory.kvc_attrib_type TO kvr_intake;
GRANT SELECT ON kvfactory.kvc_attrib_kind TO kvr_intake;
GRANT SELECT ON kvfactory.kvc_attrib_sex TO kvr_intake;
GRANT SELECT ON kvfactory.kvc_attrib_priority TO kvr_intake;
GRANT SELECT ON kvfactory.kvc_attrib_technology_type TO kvr_intake;
GRANT SELECT ON kvfactory.kvc_attrib_mod TO kvr_intake;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_product TO kvr_intake;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_procedure TO kvr_intake;
-- "编辑新客户": the identities that keep the master data (see kvr_manage).
CREATE ROLE IF NOT EXISTS kvr_new_clients;
GRANT INSERT ON kvfactory.kvc_record_client TO kvr_new_clients;

-- 送货登记: flows confirmed or returned, shipments and their dockets, orders closed.
CREATE ROLE IF NOT EXISTS kvr_shipping;
GRANT kvr_writer TO kvr_shipping;
GRANT SELECT ON kvfactory.kvc_record_ship TO kvr_shipping;
GRANT SELECT ON kvfactory.kvc_record_member TO kvr_shipping;
GRANT SELECT ON kvfactory.kvc_attrib_nature TO kvr_shipping;
GRANT SELECT ON kvfactory.kvc_attrib_kind TO kvr_shipping;
GRANT SELECT ON kvfactory.kvc_attrib_sex TO kvr_shipping;
GRANT SELECT ON kvfactory.kvc_attrib_process TO kvr_shipping;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_ship TO kvr_shipping;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_procedure TO kvr_shipping;
GRANT UPDATE ON kvfactory.kvc_record_product TO kvr_shipping;

-- 损耗登记: the loss registry, and the column it adds when missing.
CREATE ROLE IF NOT EXISTS kvr_quality;
GRANT kvr_writer TO kvr_quality;
GRANT SELECT ON kvfactory.kvc_record_member TO kvr_quality;
GRANT SELECT, INSERT, UPDATE, ALTER ON kvfactory.kvc_record_quality TO kvr_quality;

-- 货单查询: orders with their flows, shipments and piece-work.
CREATE ROLE IF NOT EXISTS kvr_order_inquiry;
GRANT SELECT ON kvfactory.kvc_record_ship TO kvr_order_inquiry;
GRANT SELECT ON kvfactory.kvc_record_mission TO kvr_order_inquiry;
GRANT SELECT ON kvfactory.kvc_record_member TO kvr_order_inquiry;
GRANT SELECT ON kvfactory.kvc_attrib_nature TO kvr_order_inquiry;
GRANT SELECT ON kvfactory.kvc_attrib_type TO kvr_order_inquiry;
GRANT SELECT ON kvfactory.kvc_attrib_kind TO kvr_order_inquiry;
GRANT SELECT ON kvfactory.kvc_attrib_sex TO kvr_order_inquiry;
GRANT SELECT ON kvfactory.kvc_attrib_priority TO kvr_order_inquiry;

-- 发货查询 and 发货统计: shipments, settlements and statements of customers.
CREATE ROLE IF NOT EXISTS kvr_shipment_inquiry;
GRANT SELECT ON kvfactory.kvc_record_ship TO kvr_shipment_inquiry;
GRANT SELECT ON kvfactory.kvc_record_ship_total TO kvr_shipment_inquiry;
GRANT SELECT ON kvfactory.kvc_record_member TO kvr_shipment_inquiry;
GRANT SELECT ON kvfactory.kvc_attrib_nature TO kvr_shipment_inquiry;
GRANT SELECT ON kvfactory.kvc_attrib_kind TO kvr_shipment_inquiry;
GRANT SELECT ON kvfactory.kvc_attrib_sex TO kvr_shipment_inquiry;
CREATE ROLE IF NOT EXISTS kvr_statements;
GRANT kvr_shipment_inquiry TO kvr_statements;

-- 采购登记, 领料登记, 原料查询: raw materials, their stock, suppliers, issues to the teams.
CREATE ROLE IF NOT EXISTS kvr_materials;
GRANT kvr_writer TO kvr_materials;
GRANT SELECT ON kvfactory.kvc_record_raw TO kvr_materials;
GRANT SELECT ON kvfactory.kvc_record_raw_in TO kvr_materials;
GRANT SELECT ON kvfactory.kvc_record_raw_out TO kvr_materials;
GRANT SELECT ON kvfactory.kvc_record_supplier TO kvr_materials;
GRANT SELECT ON kvfactory.kvc_record_member TO kvr_materials;
GRANT SELECT ON kvfactory.kvc_attrib_group TO kvr_materials;
GRANT SELECT (账号, 权限) ON kvfactory.kvc_record_user TO kvr_materials;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_raw TO kvr_materials;
GRANT INSERT ON kvfactory.kvc_record_raw_in TO kvr_materials;
GRANT INSERT ON kvfactory.kvc_record_raw_out TO kvr_materials;
GRANT INSERT ON kvfactory.kvc_record_supplier TO kvr_materials;

-- 生产管理: employees, customers, orders' cells, loss records, the loss unit price and the
-- privileged password.
CREATE ROLE IF NOT EXISTS kvr_manage;
GRANT kvr_writer TO kvr_manage;
GRANT kvr_new_clients TO kvr_manage;
GRANT kvr_order_inquiry TO kvr_manage;
GRANT SELECT ON kvfactory.kvc_attrib_process TO kvr_manage;
GRANT SELECT ON kvfactory.kvc_attrib_technology_type TO kvr_manage;
GRANT SELECT ON kvfactory.kvc_attrib_group TO kvr_manage;
GRANT SELECT ON kvfactory.kvc_attrib_identity TO kvr_manage;
GRANT SELECT ON kvfactory.kvc_attrib_mod TO kvr_manage;
GRANT SELECT, INSERT, UPDATE, DELETE ON kvfactory.kvc_record_member TO kvr_manage;
GRANT UPDATE, DELETE ON kvfactory.kvc_record_client TO kvr_manage;
GRANT UPDATE ON kvfactory.kvc_record_product TO kvr_manage;
GRANT SELECT, INSERT, UPDATE, DELETE ON kvfactory.kvc_record_quality TO kvr_manage;
GRANT UPDATE ON kvfactory.kvc_attrib_mod TO kvr_manage;
-- The administrator's part of it: technologies and their prices, process steps and their
-- rates, adding and removing orders.
CREATE ROLE IF NOT EXISTS kvr_prices;
GRANT INSERT, UPDATE, DELETE ON kvfactory.kvc_attrib_technology TO kvr_prices;
GRANT INSERT, UPDATE, DELETE ON kvfactory.kvc_attrib_process TO kvr_prices;
GRANT INSERT, DELETE ON kvfactory.kvc_record_product TO kvr_prices;

-- 计件结算, 计件查询, 计件追加: piece-work settled, inquired (with its day totals) and added.
CREATE ROLE IF NOT EXISTS kvr_piecework;
GRANT kvr_writer TO kvr_piecework;
GRANT SELECT ON kvfactory.kvc_record_mission TO kvr_piecework;
GRANT SELECT ON kvfactory.kvc_record_member TO kvr_piecework;
GRANT SELECT ON kvfactory.kvc_record_salary TO kvr_piecework;
GRANT SELECT ON kvfactory.kvc_attrib_process TO kvr_piecework;
GRANT SELECT ON kvfactory.kvc_attrib_group TO kvr_piecework;
GRANT SELECT (账号, 权限) ON kvfactory.kvc_record_user TO kvr_piecework;
GRANT SELECT, INSERT, DELETE ON kvfactory.kvc_record_mission_day TO kvr_piecework;
GRANT SELECT, DELETE ON kvfactory.kvc_record_mission_stale TO kvr_piecework;
GRANT INSERT ON kvfactory.kvc_record_salary TO kvr_piecework;
GRANT UPDATE ON kvfactory.kvc_record_member TO kvr_piecework;
GRANT INSERT, UPDATE ON kvfactory.kvc_record_mission TO kvr_piecework;
GRANT INSERT ON kvfactory.kvc_record_procedure TO kvr_piecework;

-- 管理设置: the log-in accounts, each with its database account, through the procedures below
-- (never the passwords or their hashes).
CREATE ROLE IF NOT EXISTS kvr_accounts;
GRANT SELECT ON kvfactory.kvc_view_user TO kvr_accounts;
GRANT SELECT ON kvfactory.kvc_attrib_identity TO kvr_accounts;

-- The identities, each the screens of its menu (a station's team leader processes at his
-- own station only; the server cannot tell the stations apart, the client does).
CREATE ROLE IF NOT EXISTS kvr_admin;
CREATE ROLE IF NOT EXISTS kvr_chairman;
CREATE ROLE IF NOT EXISTS kvr_director;
CREATE ROLE IF NOT EXISTS kvr_finance;
CREATE ROLE IF NOT EXISTS kvr_dispatch;
CREATE ROLE IF NOT EXISTS kvr_transport;
CREATE ROLE IF NOT EXISTS kvr_lead_wash;
CREATE ROLE IF NOT EXISTS kvr_lead_sand;
CREATE ROLE IF NOT EXISTS kvr_lead_resin;
CREATE ROLE IF NOT EXISTS kvr_lead_hand;
CREATE ROLE IF NOT EXISTS kvr_lead_press;
CREATE ROLE IF NOT EXISTS kvr_lead_rub;
CREATE ROLE IF NOT EXISTS kvr_lead_monkey;
CREATE ROLE IF NOT EXISTS kvr_staff;
CREATE ROLE IF NOT EXISTS kvr_guest;
-- Each screen's role to the identities whose menu opens it.
GRANT kvr_signin TO kvr_admin, kvr_chairman, kvr_director, kvr_finance, kvr_dispatch, kvr_transport,
    kvr_lead_wash, kvr_lead_sand, kvr_lead_resin, kvr_lead_hand, kvr_lead_press, kvr_lead_rub,
    kvr_lead_monkey, kvr_staff, kvr_guest;
GRANT kvr_board TO kvr_admin, kvr_chairman, kvr_director, kvr_finance, kvr_dispatch, kvr_transport,
    kvr_lead_wash, kvr_lead_sand, kvr_lead_resin, kvr_lead_hand, kvr_lead_press, kvr_lead_rub,
    kvr_lead_monkey, kvr_staff, kvr_guest;
GRANT kvr_station TO kvr_admin, kvr_chairman, kvr_director, kvr_dispatch, kvr_lead_wash, kvr_lead_sand,
    kvr_lead_resin, kvr_lead_hand, kvr_lead_press, kvr_lead_rub, kvr_lead_monkey;
GRANT kvr_station_view TO kvr_finance;
GRANT kvr_intake TO kvr_admin, kvr_chairman, kvr_director, kvr_finance, kvr_dispatch;
GRANT kvr_shipping TO kvr_admin, kvr_chairman, kvr_director, kvr_finance, kvr_dispatch;
GRANT kvr_quality TO kvr_admin, kvr_chairman, kvr_director, kvr_finance, kvr_dispatch;
GRANT kvr_order_inquiry TO kvr_admin, kvr_chairman, kvr_director, kvr_finance, kvr_dispatch;
GRANT kvr_shipment_inquiry TO kvr_dispatch;
GRANT kvr_statements TO kvr_admin, kvr_chairman, kvr_director, kvr_finance;
GRANT kvr_materials TO kvr_admin, kvr_chairman, kvr_director, kvr_finance, kvr_dispatch;
GRANT kvr_manage TO kvr_admin, kvr_chairman, kvr_director;
GRANT kvr_prices TO kvr_admin;
GRANT kvr_piecework TO kvr_admin, kvr_chairman, kvr_finance;
GRANT kvr_accounts TO kvr_admin, kvr_chairman;

DELIMITER //
-- The role of an identity; an identity the factory adds later is a guest until given one here.
CREATE OR REPLACE FUNCTION kvfactory.kv_role(identity VARCHAR(50)) RETURNS VARCHAR(64) DETERMINISTIC
RETURN CASE identity
    WHEN '管理员' THEN 'kvr_admin' WHEN '董事长' THEN 'kvr_chairman' WHEN '厂长' THEN 'kvr_director'
    WHEN '财务' THEN 'kvr_finance' WHEN '调度' THEN 'kvr_dispatch' WHEN '运输' THEN 'kvr_transport'
    WHEN '洗水班长' THEN 'kvr_lead_wash' WHEN '喷砂班长' THEN 'kvr_lead_sand'
    WHEN '树脂班长' THEN 'kvr_lead_resin' WHEN '手工班长' THEN 'kvr_lead_hand'
    WHEN '夹烫班长' THEN 'kvr_lead_press' WHEN '手擦班长' THEN 'kvr_lead_rub'
    WHEN '马骝班长' THEN 'kvr_lead_monkey' WHEN '员工' THEN 'kvr_staff'
    ELSE 'kvr_guest' END//

-- Where the people's database accounts connect from: the host of the log-in account (made by
-- kv_migrate); NULL before the first migration.
CREATE OR REPLACE FUNCTION kvfactory.kv_person_host() RETURNS VARCHAR(255) READS SQL DATA
RETURN (SELECT Host FROM mysql.user WHERE User = CONCAT(DATABASE(), '_login') LIMIT 1)//

-- A person's database account: no right of its own, only roles of the identities. The
-- procedures change no other account (an administrator's, the shared client's).
CREATE OR REPLACE FUNCTION kvfactory.kv_is_person(who VARCHAR(80), h VARCHAR(255)) RETURNS INT READS SQL DATA
RETURN EXISTS (SELECT 1 FROM mysql.global_priv WHERE User = who AND Host = h
               AND JSON_VALUE(Priv, '$.access') = 0)
    AND NOT EXISTS (SELECT 1 FROM mysql.roles_mapping m WHERE m.User = who AND m.Host = h
                    AND m.Role NOT IN (SELECT r.User FROM mysql.roles_mapping r
                                       WHERE r.Role = 'kvr_signin' AND r.Host = ''))
    AND NOT EXISTS (SELECT 1 FROM mysql.db WHERE User = who AND Host = h)
    AND NOT EXISTS (SELECT 1 FROM mysql.tables_priv WHERE User = who AND Host = h)//

-- Gives a person's database account the role of an identity, and only that one.
CREATE OR REPLACE PROCEDURE kvfactory.kv_person_role(who VARCHAR(80), h VARCHAR(255), identity VARCHAR(50))
MODIFIES SQL DATA
BEGIN
    DECLARE done INT DEFAULT 0;
    DECLARE old VARCHAR(128);
    DECLARE role VARCHAR(64) DEFAULT kv_role(identity);
    DECLARE roles CURSOR FOR SELECT Role FROM mysql.roles_mapping WHERE User = who AND Host = h;
    DECLARE CONTINUE HANDLER FOR NOT FOUND SET done = 1;
    CREATE TEMPORARY TABLE IF NOT EXISTS kv_old_roles (r VARCHAR(128));
    DELETE FROM kv_old_roles;
    OPEN roles;
    take: LOOP
        FETCH roles INTO old;
        IF done THEN LEAVE take; END IF;
        INSERT INTO kv_old_roles VALUES (old);
    END LOOP;
    CLOSE roles;
    EXECUTE IMMEDIATE CONCAT('GRANT ', role, ' TO ', QUOTE(who), '@', QUOTE(h));
    EXECUTE IMMEDIATE CONCAT('SET DEFAULT ROLE ', role, ' FOR ', QUOTE(who), '@', QUOTE(h));
    SET done = 0;
    BEGIN
        DECLARE gone CURSOR FOR SELECT r FROM kv_old_roles WHERE r <> role;
        OPEN gone;
        drop_old: LOOP
            FETCH gone INTO old;
            IF done THEN LEAVE drop_old; END IF;
            EXECUTE IMMEDIATE CONCAT('REVOKE ', old, ' FROM ', QUOTE(who), '@', QUOTE(h));
        END LOOP;
        CLOSE gone;
    END;
    DROP TEMPORARY TABLE kv_old_roles;
END//

-- Refuses what only an administrator may do to an administrator's account.
CREATE OR REPLACE PROCEDURE kvfactory.kv_person_guard(identity VARCHAR(50)) READS SQL DATA
BEGIN
    IF identity = '管理员' AND NOT EXISTS (SELECT 1 FROM kvc_record_user WHERE 账号 = kv_session_account()
                                           AND 权限 = '管理员') THEN
        SIGNAL SQLSTATE '42000' SET MYSQL_ERRNO = 1227, MESSAGE_TEXT = '只有管理员才能设置管理员的账号';
    END IF;
END//

CREATE OR REPLACE PROCEDURE kvfactory.kv_person_check(secret VARCHAR(64), h VARCHAR(255)) DETERMINISTIC
BEGIN
    IF h IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '数据库中还没有个人账号的设置，请先运行 kv_migrate';
    END IF;
    IF secret IS NOT NULL AND secret NOT REGEXP '^\\*[0-9A-F]{40}$' THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '密码的散列值应为“*”加40个十六进制数字（PASSWORD(''...'')）';
    END IF;
END//

-- A new log-in account: its row and its database account (password: the server's hash of it,
-- PASSWORD('...')), both or neither. Refused: an empty cell ("必填项不能为空"), a name in use
-- (error 1062), an administrator's account made by another identity.
CREATE OR REPLACE PROCEDURE kvfactory.kv_person_add(who VARCHAR(50), secret VARCHAR(64), identity VARCHAR(50))
MODIFIES SQL DATA
BEGIN
    DECLARE h VARCHAR(255) DEFAULT kv_person_host();
    DECLARE serial BIGINT UNSIGNED DEFAULT 0;
    DECLARE made INT DEFAULT 0;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF made >= 2 THEN
            EXECUTE IMMEDIATE CONCAT('DROP USER IF EXISTS ', QUOTE(who), '@', QUOTE(h));
        END IF;
        IF made >= 1 THEN
            DELETE FROM kvc_record_user WHERE 序列号 = serial;
        END IF;
        RESIGNAL;
    END;
    CALL kv_person_check(secret, h);
    IF who IS NULL OR who = '' OR secret IS NULL OR identity IS NULL OR identity = '' THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '必填项不能为空';
    END IF;
    CALL kv_person_guard(identity);
    IF EXISTS (SELECT 1 FROM kvc_record_user WHERE 账号 = who) OR EXISTS (SELECT 1 FROM mysql.user
                                                                       WHERE User = who AND Host = h) THEN
        SIGNAL SQLSTATE '23000' SET MYSQL_ERRNO = 1062, MESSAGE_TEXT = '账号不能重复';
    END IF;
    INSERT INTO kvc_record_user (账号, 密码, 权限) VALUES (who, '$server$', identity);
    SET serial = LAST_INSERT_ID(), made = 1;
    EXECUTE IMMEDIATE CONCAT('CREATE USER ', QUOTE(who), '@', QUOTE(h), ' IDENTIFIED BY PASSWORD ', QUOTE(secret));
    SET made = 2;
    CALL kv_person_role(who, h, identity);
END//

-- Changes an account as loaded (序列号, its name and identity then): its name, identity and,
-- unless NULL, password (the server's hash of it), in its row and its database account, all or
-- none. Refused: another desk changed the account meanwhile (error 1020), a name in use
-- (error 1062), an account without a database account of its own.
CREATE OR REPLACE PROCEDURE kvfactory.kv_person_change(serial BIGINT UNSIGNED, was VARCHAR(50),
    was_identity VARCHAR(50), who VARCHAR(50), secret VARCHAR(64), identity VARCHAR(50))
MODIFIES SQL DATA
BEGIN
    DECLARE h VARCHAR(255) DEFAULT kv_person_host();
    DECLARE old_secret TEXT;
    DECLARE made INT DEFAULT 0;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF made >= 4 THEN
            EXECUTE IMMEDIATE CONCAT('ALTER USER ', QUOTE(who), '@', QUOTE(h),
                                     ' IDENTIFIED BY PASSWORD ', QUOTE(old_secret));
        END IF;
        IF made >= 3 AND BINARY identity <> BINARY was_identity THEN
            CALL kv_person_role(was, h, was_identity);
        END IF;
        IF made >= 2 AND BINARY who <> BINARY was THEN
            EXECUTE IMMEDIATE CONCAT('RENAME USER ', QUOTE(who), '@', QUOTE(h), ' TO ', QUOTE(was), '@', QUOTE(h));
        END IF;
        IF made >= 1 THEN
            UPDATE kvc_record_user SET 账号 = was, 权限 = was_identity WHERE 序列号 = serial;
        END IF;
        RESIGNAL;
    END;
    CALL kv_person_check(secret, h);
    IF who IS NULL OR who = '' OR identity IS NULL OR identity = '' THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '必填项不能为空';
    END IF;
    IF NOT EXISTS (SELECT 1 FROM kvc_record_user WHERE 序列号 = serial AND BINARY 账号 = BINARY was
                   AND BINARY 权限 = BINARY was_identity) THEN
        SIGNAL SQLSTATE 'HY000' SET MYSQL_ERRNO = 1020, MESSAGE_TEXT = '该账号已被其他用户修改，请重新编辑';
    END IF;
    CALL kv_person_guard(was_identity);
    CALL kv_person_guard(identity);
    IF NOT kv_is_person(was, h) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '该账号没有自己的数据库账号，请先运行 kv_migrate';
    END IF;
    IF BINARY who <> BINARY was AND (EXISTS (SELECT 1 FROM kvc_record_user WHERE 账号 = who AND 序列号 <> serial)
                                     OR EXISTS (SELECT 1 FROM mysql.user WHERE User = who AND Host = h)) THEN
        SIGNAL SQLSTATE '23000' SET MYSQL_ERRNO = 1062, MESSAGE_TEXT = '账号不能重复';
    END IF;
    UPDATE kvc_record_user SET 账号 = who, 权限 = identity WHERE 序列号 = serial;
    SET made = 1;
    IF BINARY who <> BINARY was THEN
        EXECUTE IMMEDIATE CONCAT('RENAME USER ', QUOTE(was), '@', QUOTE(h), ' TO ', QUOTE(who), '@', QUOTE(h));
    END IF;
    SET made = 2;
    IF BINARY identity <> BINARY was_identity THEN
        CALL kv_person_role(who, h, identity);
    END IF;
    SET made = 3;
    IF secret IS NOT NULL THEN
        SET old_secret = (SELECT authentication_string FROM mysql.user WHERE User = who AND Host = h);
        EXECUTE IMMEDIATE CONCAT('ALTER USER ', QUOTE(who), '@', QUOTE(h), ' IDENTIFIED BY PASSWORD ', QUOTE(secret));
        SET made = 4;
    END IF;
END//

-- Removes an account as loaded: its row and its database account, both or neither.
CREATE OR REPLACE PROCEDURE kvfactory.kv_person_remove(serial BIGINT UNSIGNED, was VARCHAR(50))
MODIFIES SQL DATA
BEGIN
    DECLARE h VARCHAR(255) DEFAULT kv_person_host();
    DECLARE was_identity VARCHAR(50);
    DECLARE was_secret VARCHAR(128);
    DECLARE made INT DEFAULT 0;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF made >= 1 THEN
            INSERT INTO kvc_record_user (序列号, 账号, 密码, 权限) VALUES (serial, was, was_secret, was_identity);
        END IF;
        RESIGNAL;
    END;
    CALL kv_person_check(NULL, h);
    SELECT 权限, 密码 INTO was_identity, was_secret FROM kvc_record_user
        WHERE 序列号 = serial AND BINARY 账号 = BINARY was;
    IF was_identity IS NULL THEN
        SIGNAL SQLSTATE 'HY000' SET MYSQL_ERRNO = 1020, MESSAGE_TEXT = '该账号已被其他用户修改，请重新编辑';
    END IF;
    CALL kv_person_guard(was_identity);
    IF EXISTS (SELECT 1 FROM mysql.user WHERE User = was AND Host = h) AND NOT kv_is_person(was, h) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '该账号的数据库账号不是个人账号，不能删除';
    END IF;
    DELETE FROM kvc_record_user WHERE 序列号 = serial;
    SET made = 1;
    EXECUTE IMMEDIATE CONCAT('DROP USER IF EXISTS ', QUOTE(was), '@', QUOTE(h));
END//

-- A person sets his own password (the server's hash of it). It also completes the move of an
-- account that still held a hash (kv_login_salt).
CREATE OR REPLACE PROCEDURE kvfactory.kv_password_set(secret VARCHAR(64)) MODIFIES SQL DATA
BEGIN
    DECLARE who VARCHAR(80) DEFAULT kv_session_account();
    DECLARE h VARCHAR(255) DEFAULT kv_person_host();
    DECLARE old_secret TEXT;
    DECLARE made INT DEFAULT 0;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF made >= 1 THEN
            EXECUTE IMMEDIATE CONCAT('ALTER USER ', QUOTE(who), '@', QUOTE(h), ' IDENTIFIED BY PASSWORD ', QUOTE(old_secret));
        END IF;
        RESIGNAL;
    END;
    CALL kv_person_check(secret, h);
    IF secret IS NULL OR NOT kv_is_person(who, h) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '该账号没有自己的数据库账号';
    END IF;
    SET old_secret = (SELECT authentication_string FROM mysql.user WHERE User = who AND Host = h);
    EXECUTE IMMEDIATE CONCAT('ALTER USER ', QUOTE(who), '@', QUOTE(h), ' IDENTIFIED BY PASSWORD ', QUOTE(secret));
    SET made = 1;
    UPDATE kvc_record_user SET 密码 = '$server$' WHERE 账号 = who;
END//

-- Turns the accounts of kvc_record_user into people with database accounts of their own,
-- connecting from `h` ('%', '192.168.1.%', ...), and makes the log-in account that tells a
-- client how long an account must wait. Each account keeps its password: a plain one becomes
-- the database account's, a hashed one is finished at its first sign-in (kv_login_salt).
-- Accounts that already have a database account are left as they are; running it again
-- does the rest. Lists what it did, one row an account.
CREATE OR REPLACE PROCEDURE kvfactory.kv_migrate(h VARCHAR(255)) MODIFIES SQL DATA
BEGIN
    DECLARE done INT DEFAULT 0;
    DECLARE who VARCHAR(50);
    DECLARE stored VARCHAR(128);
    DECLARE identity VARCHAR(50);
    DECLARE gate VARCHAR(80) DEFAULT CONCAT(DATABASE(), '_login');
    DECLARE people CURSOR FOR SELECT 账号, 密码, 权限 FROM kvc_record_user ORDER BY 序列号;
    DECLARE CONTINUE HANDLER FOR NOT FOUND SET done = 1;
    IF h IS NULL OR h = '' THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'kv_migrate: name the host the people connect from';
    END IF;
    IF kv_person_host() IS NOT NULL AND kv_person_host() <> h THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'kv_migrate: the people already connect from another host';
    END IF;
    CREATE TEMPORARY TABLE IF NOT EXISTS kv_migrated (账号 VARCHAR(50), 结果 VARCHAR(200)) CHARACTER SET utf8mb4;
    DELETE FROM kv_migrated;
    IF NOT EXISTS (SELECT 1 FROM mysql.user WHERE User = gate AND Host = h) THEN
        EXECUTE IMMEDIATE CONCAT('CREATE USER ', QUOTE(gate), '@', QUOTE(h), ' IDENTIFIED BY ', QUOTE(gate));
        INSERT INTO kv_migrated VALUES (gate, 'the log-in account (password: its name) was made');
    END IF;
    EXECUTE IMMEDIATE CONCAT('GRANT EXECUTE ON FUNCTION ', DATABASE(), '.kv_login_wait TO ', QUOTE(gate), '@', QUOTE(h));
    EXECUTE IMMEDIATE CONCAT('GRANT EXECUTE ON PROCEDURE ', DATABASE(), '.kv_login_failed TO ', QUOTE(gate), '@', QUOTE(h));
    EXECUTE IMMEDIATE CONCAT('GRANT EXECUTE ON FUNCTION ', DATABASE(), '.kv_login_salt TO ', QUOTE(gate), '@', QUOTE(h));
    OPEN people;
    person: LOOP
        FETCH people INTO who, stored, identity;
        IF done THEN LEAVE person; END IF;
        IF EXISTS (SELECT 1 FROM mysql.user WHERE User = who AND Host = h) THEN
            INSERT INTO kv_migrated VALUES (who, 'kept: it already has a database account');
        ELSEIF stored = '' OR stored = '$server$' THEN
            INSERT INTO kv_migrated VALUES (who, 'skipped: no password to keep; set one in 管理设置');
        ELSE
            EXECUTE IMMEDIATE CONCAT('CREATE USER ', QUOTE(who), '@', QUOTE(h), ' IDENTIFIED BY PASSWORD ',
                QUOTE(PASSWORD(IF(stored LIKE '$argon2id$%', SUBSTRING_INDEX(stored, '$', -1), stored))));
            CALL kv_person_role(who, h, identity);
            IF stored LIKE '$argon2id$%' THEN
                INSERT INTO kv_migrated VALUES (who, CONCAT('made (', kv_role(identity),
                    '); its password, a hash, is finished at its first sign-in'));
            ELSE
                UPDATE kvc_record_user SET 密码 = '$server$' WHERE 账号 = who;
                INSERT INTO kv_migrated VALUES (who, CONCAT('made (', kv_role(identity), '); its password kept'));
            END IF;
        END IF;
    END LOOP;
    CLOSE people;
    SELECT * FROM kv_migrated;
    DROP TEMPORARY TABLE kv_migrated;
END//
DELIMITER ;

GRANT EXECUTE ON PROCEDURE kvfactory.kv_password_set TO kvr_signin;
GRANT EXECUTE ON PROCEDURE kvfactory.kv_person_add TO kvr_accounts;
GRANT EXECUTE ON PROCEDURE kvfactory.kv_person_change TO kvr_accounts;
GRANT EXECUTE ON PROCEDURE kvfactory.kv_person_remove TO kvr_accounts;
