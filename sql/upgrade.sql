-- Brings a database made by an earlier sql/schema.sql up to date; loading it again changes
-- nothing. Load as an administrator, as UTF-8, before sql/grants.sql:
--   mariadb --default-character-set=utf8mb4 kvfactory < sql/upgrade.sql
SET NAMES utf8mb4;

-- The commit marks (see schema.sql).
CREATE TABLE IF NOT EXISTS kvc_record_commit (
    序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    令牌 VARCHAR(32) NOT NULL DEFAULT '',
    时间 TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP,
    PRIMARY KEY (序列号),
    KEY ix_commit_time (时间)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Keys of the back-office reads (see schema.sql): the order inquiry's totals, the raw-material
-- inquiry's sums (which replace the key by name alone).
ALTER TABLE kvc_record_product ADD KEY IF NOT EXISTS ix_product_totals (客户号, 货物数量, 原版数量, 洗版数量);
ALTER TABLE kvc_record_raw_out ADD KEY IF NOT EXISTS ix_raw_out_sums (名称, 客户号, 班组, 数量, 工号, 经办人, 时间),
    DROP KEY IF EXISTS ix_raw_out_name;
-- Supplier names are unique (see schema.sql). A name given twice before keeps its first
-- supplier; the later ones get their number added, so that nothing refers to another row.
UPDATE kvc_record_supplier s JOIN kvc_record_supplier t ON t.名称 = s.名称 AND t.供应商号 < s.供应商号
    SET s.名称 = CONCAT(LEFT(s.名称, 80), '（', s.供应商号, '）');
ALTER TABLE kvc_record_supplier ADD UNIQUE KEY IF NOT EXISTS ux_supplier_name (名称);
-- The unsettled piece-work in 任务号 order (see schema.sql).
ALTER TABLE kvc_record_mission ADD KEY IF NOT EXISTS ix_mission_state (结讫);
-- The piece-work statistics sampled wide enough to count the employees as they are.
ALTER TABLE kvc_record_mission STATS_SAMPLE_PAGES = 100;
-- Settlement rows take the server's key (earlier clients wrote none).
ALTER TABLE kvc_record_salary MODIFY 序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    ADD PRIMARY KEY IF NOT EXISTS (序列号);
-- The piece-work inquiry's day totals and the triggers that mark changed days (see schema.sql).
-- The totals are made by the clients' inquiries as they need them.
CREATE TABLE IF NOT EXISTS kvc_record_mission_day (
    维度 TINYINT UNSIGNED NOT NULL DEFAULT 0,
    工号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    客户号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    工序 VARCHAR(50) NOT NULL DEFAULT '',
    经办人 VARCHAR(50) NOT NULL DEFAULT '',
    日期 VARCHAR(10) NOT NULL DEFAULT '',
    行数 BIGINT NOT NULL DEFAULT 0,
    完成数量 BIGINT NOT NULL DEFAULT 0,
    损耗数量 BIGINT NOT NULL DEFAULT 0,
    共计 DOUBLE NULL,
    PRIMARY KEY (维度, 工号, 客户号, 工序, 经办人, 日期),
    KEY ix_mission_day_date (日期)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

CREATE TABLE IF NOT EXISTS kvc_record_mission_stale (
    日期 VARCHAR(10) NOT NULL DEFAULT '',
    PRIMARY KEY (日期)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
DROP TRIGGER IF EXISTS tg_mission_insert;
DROP TRIGGER IF EXISTS tg_mission_update;
DROP TRIGGER IF EXISTS tg_mission_delete;
DROP TRIGGER IF EXISTS tg_product_update;
DROP TRIGGER IF EXISTS tg_product_delete;
DROP TRIGGER IF EXISTS tg_flow_update;
DROP TRIGGER IF EXISTS tg_flow_delete;
DELIMITER //
CREATE TRIGGER tg_mission_insert AFTER INSERT ON kvc_record_mission FOR EACH ROW
IF LEFT(NEW.完成时间, 10) < DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y-%m-%d') THEN
    INSERT INTO kvc_record_mission_stale (日期) VALUES (LEFT(NEW.完成时间, 10))
        ON DUPLICATE KEY UPDATE 日期 = VALUES(日期);
END IF//
CREATE TRIGGER tg_mission_update AFTER UPDATE ON kvc_record_mission FOR EACH ROW
IF NOT (OLD.货单号 <=> NEW.货单号 AND OLD.流水号 <=> NEW.流水号 AND OLD.工号 <=> NEW.工号
        AND OLD.完成时间 <=> NEW.完成时间 AND OLD.完成数量 <=> NEW.完成数量
        AND OLD.损耗数量 <=> NEW.损耗数量 AND OLD.工价 <=> NEW.工价
        AND OLD.损耗单价 <=> NEW.损耗单价 AND OLD.经办人 <=> NEW.经办人) THEN
    INSERT INTO kvc_record_mission_stale (日期)
    SELECT d FROM (SELECT LEFT(OLD.完成时间, 10) AS d UNION SELECT LEFT(NEW.完成时间, 10)) AS days
    WHERE d < DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y-%m-%d')
    ON DUPLICATE KEY UPDATE 日期 = VALUES(日期);
END IF//
CREATE TRIGGER tg_mission_delete AFTER DELETE ON kvc_record_mission FOR EACH ROW
IF LEFT(OLD.完成时间, 10) < DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y-%m-%d') THEN
    INSERT INTO kvc_record_mission_stale (日期) VALUES (LEFT(OLD.完成时间, 10))
        ON DUPLICATE KEY UPDATE 日期 = VALUES(日期);
END IF//
-- An order's customer, a flow's step: the days of their piece-work.
CREATE TRIGGER tg_product_update AFTER UPDATE ON kvc_record_product FOR EACH ROW
IF NOT (OLD.客户号 <=> NEW.客户号) THEN
    INSERT INTO kvc_record_mission_stale (日期)
    SELECT DISTINCT LEFT(完成时间, 10) FROM kvc_record_mission
    WHERE 货单号 = OLD.货单号 AND 完成时间 < DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y-%m-%d')
    ON DUPLICATE KEY UPDATE 日期 = VALUES(日期);
END IF//
CREATE TRIGGER tg_product_delete AFTER DELETE ON kvc_record_product FOR EACH ROW
    INSERT INTO kvc_record_mission_stale (日期)
    SELECT DISTINCT LEFT(完成时间, 10) FROM kvc_record_mission
    WHERE 货单号 = OLD.货单号 AND 完成时间 < DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y-%m-%d')
    ON DUPLICATE KEY UPDATE 日期 = VALUES(日期)//
CREATE TRIGGER tg_flow_update AFTER UPDATE ON kvc_record_procedure FOR EACH ROW
IF NOT (OLD.工序 <=> NEW.工序) THEN
    INSERT INTO kvc_record_mission_stale (日期)
    SELECT DISTINCT LEFT(完成时间, 10) FROM kvc_record_mission
    WHERE 流水号 = OLD.流水号 AND 完成时间 < DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y-%m-%d')
    ON DUPLICATE KEY UPDATE 日期 = VALUES(日期);
END IF//
CREATE TRIGGER tg_flow_delete AFTER DELETE ON kvc_record_procedure FOR EACH ROW
    INSERT INTO kvc_record_mission_stale (日期)
    SELECT DISTINCT LEFT(完成时间, 10) FROM kvc_record_mission
    WHERE 流水号 = OLD.流水号 AND 完成时间 < DATE_FORMAT(CURDATE() - INTERVAL 1 DAY, '%Y-%m-%d')
    ON DUPLICATE KEY UPDATE 日期 = VALUES(日期)//
DELIMITER ;

-- Totals kept by the writes, for the counts and sums over the whole history: the shipped
-- orders' count of the shipping desk, the order inquiry's and the shipment inquiry's totals
-- of everything or of one customer. The triggers below keep them in the transaction of
-- every change of an order or a shipment, whoever writes it. A total is spread over rows by
-- customer, state and 槽 (the order number modulo 16), so that desks writing at once, also
-- on different nodes of a cluster, seldom meet on one row; a reader adds up the rows (a few
-- thousand at most).
-- The orders of a state (激活, 结讫), customer and 槽: their count and sums.
CREATE TABLE IF NOT EXISTS kvc_record_product_total (
    激活 INT NOT NULL DEFAULT 0,
    结讫 INT NOT NULL DEFAULT 0,
    客户号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    槽 TINYINT UNSIGNED NOT NULL DEFAULT 0,
    行数 BIGINT NOT NULL DEFAULT 0,
    货物数量 BIGINT NOT NULL DEFAULT 0,
    原版数量 BIGINT NOT NULL DEFAULT 0,
    洗版数量 BIGINT NOT NULL DEFAULT 0,
    PRIMARY KEY (激活, 结讫, 客户号, 槽),
    KEY ix_product_total_client (客户号)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- The shipments of a customer (the shipment's own 客户号) and 槽 whose order exists, as the
-- shipment inquiry counts them: their count and sums, 金额 the sum of 货物数量 x 货物单价 each
-- rounded to six places (a NULL price adding nothing), which adds up without drifting.
CREATE TABLE IF NOT EXISTS kvc_record_ship_total (
    客户号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    槽 TINYINT UNSIGNED NOT NULL DEFAULT 0,
    行数 BIGINT NOT NULL DEFAULT 0,
    货物数量 BIGINT NOT NULL DEFAULT 0,
    损耗数量 BIGINT NOT NULL DEFAULT 0,
    原版数量 BIGINT NOT NULL DEFAULT 0,
    洗版数量 BIGINT NOT NULL DEFAULT 0,
    金额 DECIMAL(38, 6) NOT NULL DEFAULT 0,
    PRIMARY KEY (客户号, 槽)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
DROP TRIGGER IF EXISTS tg_product_total_insert;
DROP TRIGGER IF EXISTS tg_product_total_update;
DROP TRIGGER IF EXISTS tg_product_total_delete;
DROP TRIGGER IF EXISTS tg_ship_total_insert;
DROP TRIGGER IF EXISTS tg_ship_total_update;
DROP TRIGGER IF EXISTS tg_ship_total_delete;
-- The triggers that keep kvc_record_product_total and kvc_record_ship_total. A change moves
-- the row's old values out of their total and its new ones into theirs. A shipment counts
-- while its order exists: its insert reads the order with a shared lock, and an order's
-- insert, delete or renumbering reads its shipments with shared locks, so that a shipment
-- and its order's removal at once leave either order to the other, never both totals wrong.
DELIMITER //
CREATE TRIGGER tg_product_total_insert AFTER INSERT ON kvc_record_product FOR EACH ROW
BEGIN
    INSERT INTO kvc_record_product_total (激活, 结讫, 客户号, 槽, 行数, 货物数量, 原版数量, 洗版数量)
        VALUES (IFNULL(NEW.激活, 0), IFNULL(NEW.结讫, 0), IFNULL(NEW.客户号, 0), NEW.货单号 % 16, 1,
                IFNULL(NEW.货物数量, 0), IFNULL(NEW.原版数量, 0), IFNULL(NEW.洗版数量, 0))
        ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
            原版数量 = 原版数量 + VALUES(原版数量), 洗版数量 = 洗版数量 + VALUES(洗版数量);
    INSERT INTO kvc_record_ship_total (客户号, 槽, 行数, 货物数量, 损耗数量, 原版数量, 洗版数量, 金额)
        SELECT 客户号, 货单号 % 16, COUNT(*), IFNULL(SUM(货物数量), 0), IFNULL(SUM(损耗数量), 0),
               IFNULL(SUM(原版数量), 0), IFNULL(SUM(洗版数量), 0),
               IFNULL(SUM(CAST(货物数量 * 货物单价 AS DECIMAL(38, 6))), 0)
        FROM kvc_record_ship WHERE 货单号 = NEW.货单号 GROUP BY 客户号, 货单号 % 16 LOCK IN SHARE MODE
        ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
            损耗数量 = 损耗数量 + VALUES(损耗数量), 原版数量 = 原版数量 + VALUES(原版数量),
            洗版数量 = 洗版数量 + VALUES(洗版数量), 金额 = 金额 + VALUES(金额);
END//
CREATE TRIGGER tg_product_total_update AFTER UPDATE ON kvc_record_product FOR EACH ROW
BEGIN
    IF NOT (OLD.激活 <=> NEW.激活 AND OLD.结讫 <=> NEW.结讫 AND OLD.客户号 <=> NEW.客户号
            AND OLD.货单号 <=> NEW.货单号 AND OLD.货物数量 <=> NEW.货物数量
            AND OLD.原版数量 <=> NEW.原版数量 AND OLD.洗版数量 <=> NEW.洗版数量) THEN
        INSERT INTO kvc_record_product_total (激活, 结讫, 客户号, 槽, 行数, 货物数量, 原版数量, 洗版数量)
            VALUES (IFNULL(OLD.激活, 0), IFNULL(OLD.结讫, 0), IFNULL(OLD.客户号, 0), OLD.货单号 % 16, -1,
                    -IFNULL(OLD.货物数量, 0), -IFNULL(OLD.原版数量, 0), -IFNULL(OLD.洗版数量, 0)),
                   (IFNULL(NEW.激活, 0), IFNULL(NEW.结讫, 0), IFNULL(NEW.客户号, 0), NEW.货单号 % 16, 1,
                    IFNULL(NEW.货物数量, 0), IFNULL(NEW.原版数量, 0), IFNULL(NEW.洗版数量, 0))
            ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
                原版数量 = 原版数量 + VALUES(原版数量), 洗版数量 = 洗版数量 + VALUES(洗版数量);
    END IF;
    IF NOT (OLD.货单号 <=> NEW.货单号) THEN
        INSERT INTO kvc_record_ship_total (客户号, 槽, 行数, 货物数量, 损耗数量, 原版数量, 洗版数量, 金额)
            SELECT 客户号, 货单号 % 16, IF(货单号 = NEW.货单号, 1, -1) * COUNT(*),
                   IF(货单号 = NEW.货单号, 1, -1) * IFNULL(SUM(货物数量), 0),
                   IF(货单号 = NEW.货单号, 1, -1) * IFNULL(SUM(损耗数量), 0),
                   IF(货单号 = NEW.货单号, 1, -1) * IFNULL(SUM(原版数量), 0),
                   IF(货单号 = NEW.货单号, 1, -1) * IFNULL(SUM(洗版数量), 0),
                   IF(货单号 = NEW.货单号, 1, -1) * IFNULL(SUM(CAST(货物数量 * 货物单价 AS DECIMAL(38, 6))), 0)
            FROM kvc_record_ship WHERE 货单号 IN (OLD.货单号, NEW.货单号) GROUP BY 客户号, 货单号
            LOCK IN SHARE MODE
            ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
                损耗数量 = 损耗数量 + VALUES(损耗数量), 原版数量 = 原版数量 + VALUES(原版数量),
                洗版数量 = 洗版数量 + VALUES(洗版数量), 金额 = 金额 + VALUES(金额);
    END IF;
END//
CREATE TRIGGER tg_product_total_delete AFTER DELETE ON kvc_record_product FOR EACH ROW
BEGIN
    INSERT INTO kvc_record_product_total (激活, 结讫, 客户号, 槽, 行数, 货物数量, 原版数量, 洗版数量)
        VALUES (IFNULL(OLD.激活, 0), IFNULL(OLD.结讫, 0), IFNULL(OLD.客户号, 0), OLD.货单号 % 16, -1,
                -IFNULL(OLD.货物数量, 0), -IFNULL(OLD.原版数量, 0), -IFNULL(OLD.洗版数量, 0))
        ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
            原版数量 = 原版数量 + VALUES(原版数量), 洗版数量 = 洗版数量 + VALUES(洗版数量);
    INSERT INTO kvc_record_ship_total (客户号, 槽, 行数, 货物数量, 损耗数量, 原版数量, 洗版数量, 金额)
        SELECT 客户号, 货单号 % 16, -COUNT(*), -IFNULL(SUM(货物数量), 0), -IFNULL(SUM(损耗数量), 0),
               -IFNULL(SUM(原版数量), 0), -IFNULL(SUM(洗版数量), 0),
               -IFNULL(SUM(CAST(货物数量 * 货物单价 AS DECIMAL(38, 6))), 0)
        FROM kvc_record_ship WHERE 货单号 = OLD.货单号 GROUP BY 客户号, 货单号 % 16 LOCK IN SHARE MODE
        ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
            损耗数量 = 损耗数量 + VALUES(损耗数量), 原版数量 = 原版数量 + VALUES(原版数量),
            洗版数量 = 洗版数量 + VALUES(洗版数量), 金额 = 金额 + VALUES(金额);
END//
-- A shipment: its old values out where its old order exists, its new ones in where its new
-- order does.
CREATE TRIGGER tg_ship_total_insert AFTER INSERT ON kvc_record_ship FOR EACH ROW
BEGIN
    DECLARE orders INT DEFAULT 0;
    SELECT COUNT(*) INTO orders FROM kvc_record_product WHERE 货单号 = NEW.货单号 LOCK IN SHARE MODE;
    IF orders > 0 THEN
        INSERT INTO kvc_record_ship_total (客户号, 槽, 行数, 货物数量, 损耗数量, 原版数量, 洗版数量, 金额)
            VALUES (IFNULL(NEW.客户号, 0), NEW.货单号 % 16, 1, IFNULL(NEW.货物数量, 0), IFNULL(NEW.损耗数量, 0),
                    IFNULL(NEW.原版数量, 0), IFNULL(NEW.洗版数量, 0),
                    IFNULL(CAST(NEW.货物数量 * NEW.货物单价 AS DECIMAL(38, 6)), 0))
            ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
                损耗数量 = 损耗数量 + VALUES(损耗数量), 原版数量 = 原版数量 + VALUES(原版数量),
                洗版数量 = 洗版数量 + VALUES(洗版数量), 金额 = 金额 + VALUES(金额);
    END IF;
END//
CREATE TRIGGER tg_ship_total_update AFTER UPDATE ON kvc_record_ship FOR EACH ROW
BEGIN
    DECLARE was INT DEFAULT 0;
    DECLARE goes INT DEFAULT 0;
    IF NOT (OLD.客户号 <=> NEW.客户号 AND OLD.货单号 <=> NEW.货单号 AND OLD.货物数量 <=> NEW.货物数量
            AND OLD.损耗数量 <=> NEW.损耗数量 AND OLD.原版数量 <=> NEW.原版数量
            AND OLD.洗版数量 <=> NEW.洗版数量 AND OLD.货物单价 <=> NEW.货物单价) THEN
        SELECT COUNT(*) INTO was FROM kvc_record_product WHERE 货单号 = OLD.货单号 LOCK IN SHARE MODE;
        SELECT COUNT(*) INTO goes FROM kvc_record_product WHERE 货单号 = NEW.货单号 LOCK IN SHARE MODE;
        INSERT INTO kvc_record_ship_total (客户号, 槽, 行数, 货物数量, 损耗数量, 原版数量, 洗版数量, 金额)
            SELECT * FROM (
                SELECT IFNULL(OLD.客户号, 0), OLD.货单号 % 16, -1, -IFNULL(OLD.货物数量, 0),
                       -IFNULL(OLD.损耗数量, 0), -IFNULL(OLD.原版数量, 0), -IFNULL(OLD.洗版数量, 0),
                       -IFNULL(CAST(OLD.货物数量 * OLD.货物单价 AS DECIMAL(38, 6)), 0) FROM DUAL WHERE was > 0
                UNION ALL
                SELECT IFNULL(NEW.客户号, 0), NEW.货单号 % 16, 1, IFNULL(NEW.货物数量, 0),
                       IFNULL(NEW.损耗数量, 0), IFNULL(NEW.原版数量, 0), IFNULL(NEW.洗版数量, 0),
                       IFNULL(CAST(NEW.货物数量 * NEW.货物单价 AS DECIMAL(38, 6)), 0) FROM DUAL WHERE goes > 0
            ) AS moves
            ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
                损耗数量 = 损耗数量 + VALUES(损耗数量), 原版数量 = 原版数量 + VALUES(原版数量),
                洗版数量 = 洗版数量 + VALUES(洗版数量), 金额 = 金额 + VALUES(金额);
    END IF;
END//
CREATE TRIGGER tg_ship_total_delete AFTER DELETE ON kvc_record_ship FOR EACH ROW
BEGIN
    DECLARE orders INT DEFAULT 0;
    SELECT COUNT(*) INTO orders FROM kvc_record_product WHERE 货单号 = OLD.货单号 LOCK IN SHARE MODE;
    IF orders > 0 THEN
        INSERT INTO kvc_record_ship_total (客户号, 槽, 行数, 货物数量, 损耗数量, 原版数量, 洗版数量, 金额)
            VALUES (IFNULL(OLD.客户号, 0), OLD.货单号 % 16, -1, -IFNULL(OLD.货物数量, 0), -IFNULL(OLD.损耗数量, 0),
                    -IFNULL(OLD.原版数量, 0), -IFNULL(OLD.洗版数量, 0),
                    -IFNULL(CAST(OLD.货物数量 * OLD.货物单价 AS DECIMAL(38, 6)), 0))
            ON DUPLICATE KEY UPDATE 行数 = 行数 + VALUES(行数), 货物数量 = 货物数量 + VALUES(货物数量),
                损耗数量 = 损耗数量 + VALUES(损耗数量), 原版数量 = 原版数量 + VALUES(原版数量),
                洗版数量 = 洗版数量 + VALUES(洗版数量), 金额 = 金额 + VALUES(金额);
    END IF;
END//
DELIMITER ;
-- The totals made again from the rows, in one transaction that holds the rows it counts, so
-- that a write meanwhile waits for it (or fails and is repeated) and none is counted twice.
START TRANSACTION;
DELETE FROM kvc_record_product_total;
INSERT INTO kvc_record_product_total (激活, 结讫, 客户号, 槽, 行数, 货物数量, 原版数量, 洗版数量)
    SELECT IFNULL(激活, 0), IFNULL(结讫, 0), IFNULL(客户号, 0), 货单号 % 16, COUNT(*), IFNULL(SUM(货物数量), 0),
           IFNULL(SUM(原版数量), 0), IFNULL(SUM(洗版数量), 0)
    FROM kvc_record_product GROUP BY IFNULL(激活, 0), IFNULL(结讫, 0), IFNULL(客户号, 0), 货单号 % 16
    LOCK IN SHARE MODE;
DELETE FROM kvc_record_ship_total;
INSERT INTO kvc_record_ship_total (客户号, 槽, 行数, 货物数量, 损耗数量, 原版数量, 洗版数量, 金额)
    SELECT IFNULL(s.客户号, 0), s.货单号 % 16, COUNT(*), IFNULL(SUM(s.货物数量), 0), IFNULL(SUM(s.损耗数量), 0),
           IFNULL(SUM(s.原版数量), 0), IFNULL(SUM(s.洗版数量), 0),
           IFNULL(SUM(CAST(s.货物数量 * s.货物单价 AS DECIMAL(38, 6))), 0)
    FROM kvc_record_ship s JOIN kvc_record_product p ON p.货单号 = s.货单号
    GROUP BY IFNULL(s.客户号, 0), s.货单号 % 16
    LOCK IN SHARE MODE;
COMMIT;

-- Passwords are kept as hashes (see schema.sql); the plain ones of an earlier version still
-- sign in once and are then replaced, or all at once by "kvaccounts hash" (README.md).
ALTER TABLE kvc_record_user MODIFY 密码 VARCHAR(128) NOT NULL DEFAULT '',
    ADD COLUMN IF NOT EXISTS 错误次数 INT UNSIGNED NOT NULL DEFAULT 0,
    ADD COLUMN IF NOT EXISTS 错误时间 DATETIME NULL;
DELIMITER //
-- The account name of the session: a person signed in to the database as himself.
CREATE OR REPLACE FUNCTION kv_session_account() RETURNS VARCHAR(80) NOT DETERMINISTIC NO SQL
RETURN LEFT(SESSION_USER(), CHAR_LENGTH(SESSION_USER()) - LOCATE('@', REVERSE(SESSION_USER())))//
DELIMITER ;
-- What may be read of the accounts without reading their passwords: the account grid sees
-- whether a password is set; a person signed in as himself sees his own account.
CREATE OR REPLACE SQL SECURITY DEFINER VIEW kvc_view_user AS
    SELECT 序列号, 账号, 密码 <> '' AS 有密码, 权限 FROM kvc_record_user;
CREATE OR REPLACE SQL SECURITY DEFINER VIEW kvc_view_self AS
    SELECT 序列号, 账号, 权限, 错误次数 FROM kvc_record_user
    WHERE 账号 = kv_session_account()
    WITH CHECK OPTION;

-- Log-in guessing is slowed per account, on the server so that no client can forget it: after
-- five wrong passwords in a row each further try waits, 5 s after the fifth, twice as long
-- after each one more, ten minutes at most. A sign-in resets the count.
DELIMITER //
-- The seconds the next try of an account must still wait (0: it may try now).
CREATE OR REPLACE FUNCTION kv_login_wait(who VARCHAR(50)) RETURNS INT READS SQL DATA
BEGIN
    DECLARE n INT;
    DECLARE t DATETIME;
    SELECT MAX(错误次数), MAX(错误时间) INTO n, t FROM kvc_record_user WHERE 账号 = who;
    IF n IS NULL OR n < 5 OR t IS NULL THEN
        RETURN 0;
    END IF;
    RETURN GREATEST(0, TIMESTAMPDIFF(SECOND, NOW(), t + INTERVAL LEAST(5 << LEAST(n - 5, 7), 600) SECOND));
END//
-- Counts a wrong password typed for an account.
CREATE OR REPLACE PROCEDURE kv_login_failed(who VARCHAR(50)) MODIFIES SQL DATA
    UPDATE kvc_record_user SET 错误次数 = 错误次数 + 1, 错误时间 = NOW() WHERE 账号 = who//
-- An account moved to a database account of its own while its password was a hash signs in
-- to the database first with the hash's last part, which only the password makes again from
-- the hash's parameters and salt given here (NULL for every other account).
CREATE OR REPLACE FUNCTION kv_login_salt(who VARCHAR(50)) RETURNS VARCHAR(128) READS SQL DATA
RETURN (SELECT LEFT(密码, CHAR_LENGTH(密码) - CHAR_LENGTH(SUBSTRING_INDEX(密码, '$', -1)))
        FROM kvc_record_user WHERE 账号 = who AND 密码 LIKE '$argon2id$%' LIMIT 1)//
-- A Galera node that aborts a statement for another node's write while the statement loads a
-- table's triggers keeps that table's copy with its triggers unparsed, and every later write
-- through that copy fails as a syntax error. A client that meets one reloads the tables with
-- triggers of the node it is on (with the rights of whoever loaded the schema) and runs its
-- action again. The copies in use are closed as their transactions end; the flush waits for
-- them at most 2 s, and meanwhile the node's new statements on these tables wait with it.
CREATE OR REPLACE PROCEDURE kv_reload_triggers() MODIFIES SQL DATA
    SET STATEMENT lock_wait_timeout = 2 FOR
    FLUSH LOCAL TABLES kvc_record_product, kvc_record_procedure, kvc_record_mission, kvc_record_ship//
DELIMITER ;
