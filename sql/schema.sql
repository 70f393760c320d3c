-- Tables of a new installation of the washing-factory database.
-- Load with a UTF-8 client connection (mariadb --default-character-set=utf8mb4); the
-- tables themselves hold GBK text, which is what the client speaks on its connection.
--
-- Times are text of the form YYYY-MM-DD hh:mm:ss (empty when not yet set), compared as
-- text and matched by day with LIKE 'YYYY-MM-DD%'.
-- Every column that an insert of the client may leave out has a default of 0 or ''.
--
-- The script loads on MariaDB and on MySQL: a TEXT column's default is an expression in
-- parentheses (MySQL takes no literal default there), and nothing server-specific is used.

SET NAMES utf8mb4;
SET default_storage_engine = InnoDB;

-- Orders. Physical column order matters: some screens read "select *" by position.
CREATE TABLE kvc_record_product (
    货单号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    款号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    客户号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    货物数量 INT NOT NULL DEFAULT 0,
    接货人 VARCHAR(50) NOT NULL DEFAULT '',
    接货时间 VARCHAR(19) NOT NULL DEFAULT '',
    货物性质 VARCHAR(50) NOT NULL DEFAULT '',
    货物分类 VARCHAR(50) NOT NULL DEFAULT '',
    货物款式 VARCHAR(50) NOT NULL DEFAULT '',
    货物性别 VARCHAR(50) NOT NULL DEFAULT '',
    洗涤方法 VARCHAR(255) NOT NULL DEFAULT '',
    货物单价 DOUBLE NOT NULL DEFAULT 0,
    损耗单价 DOUBLE NOT NULL DEFAULT 0,
    原版数量 INT NOT NULL DEFAULT 0,
    洗版数量 INT NOT NULL DEFAULT 0,
    损耗数量 INT NOT NULL DEFAULT 0,
    货物等级 VARCHAR(50) NOT NULL DEFAULT '',
    关联 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    激活 INT NOT NULL DEFAULT 0,
    激活时间 VARCHAR(19) NOT NULL DEFAULT '',
    结讫 INT NOT NULL DEFAULT 0,
    结讫时间 VARCHAR(19) NOT NULL DEFAULT '',
    经办人 VARCHAR(50) NOT NULL DEFAULT '',
    PRIMARY KEY (货单号),
    -- intake queues, dashboard, shipped-order list. Not widened by 客户号: the
    -- optimizer would then read the shipped-order pages from the customer side.
    KEY ix_product_state (结讫, 激活),
    KEY ix_product_client (客户号),
    -- the order inquiry's count and totals over the whole history, or a customer's orders
    -- closed ones included, as earlier clients read them: from this key alone rather than
    -- from the orders (this client reads kvc_record_product_total)
    KEY ix_product_totals (客户号, 货物数量, 原版数量, 洗版数量),
    -- the order inquiry's three time conditions
    KEY ix_product_received (接货时间),
    KEY ix_product_activated (激活时间),
    KEY ix_product_closed (结讫时间)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Flows: one batch of an order's goods waiting at or leaving one station.
CREATE TABLE kvc_record_procedure (
    流水号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    货单号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    客户号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    货物等级 VARCHAR(50) NOT NULL DEFAULT '',
    上一号 BIGINT UNSIGNED NULL DEFAULT NULL,
    上一站 VARCHAR(50) NOT NULL DEFAULT '',
    工作站 VARCHAR(50) NOT NULL DEFAULT '',
    数量 INT NOT NULL DEFAULT 0,
    生成时间 VARCHAR(19) NOT NULL DEFAULT '',
    历史 TEXT NOT NULL DEFAULT (''),
    工序 VARCHAR(50) NOT NULL DEFAULT '',
    派生 INT NOT NULL DEFAULT 0,
    结讫 INT NOT NULL DEFAULT 0,
    结讫时间 VARCHAR(19) NOT NULL DEFAULT '',
    经办人 VARCHAR(50) NOT NULL DEFAULT '',
    PRIMARY KEY (流水号),
    -- station queues and done lists (newest first through the key), shipping desk
    KEY ix_flow_station (工作站, 结讫),
    -- flows of one order
    KEY ix_flow_order (货单号, 结讫),
    -- flows finished on a day (the chain of flows is walked back through the primary
    -- key, so 上一号 needs none)
    KEY ix_flow_closed (结讫时间)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Piece-work: one row per employee and flow.
-- STATS_SAMPLE_PAGES: from InnoDB's default 20 sampled pages its statistics count one
-- employee per leaf page of ix_mission_member (10,141 on ten years, against 67), and the
-- optimizer then walks every employee's settled years where a customer's orders or a
-- period's key read far less. With 100 pages they count them as they are (67 against 68 on
-- ten years), and InnoDB keeps them so by itself as the table grows.
CREATE TABLE kvc_record_mission (
    任务号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    货单号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    流水号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    工号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    完成时间 VARCHAR(19) NOT NULL DEFAULT '',
    完成数量 INT NOT NULL DEFAULT 0,
    损耗数量 INT NOT NULL DEFAULT 0,
    工价 DOUBLE NOT NULL DEFAULT 0,
    损耗单价 DOUBLE NOT NULL DEFAULT 0,
    共计 DOUBLE NOT NULL DEFAULT 0,
    结讫 INT NOT NULL DEFAULT 0,
    经办人 VARCHAR(50) NOT NULL DEFAULT '',
    PRIMARY KEY (任务号),
    -- unsettled work of an employee in a period (settlement, inquiry); with 结讫
    -- after 工号, not after 完成时间, the unsettled rows are found without reading
    -- the employee's settled years
    KEY ix_mission_member (工号, 结讫, 完成时间),
    -- every unsettled row in 任务号 order (the inquiry with nothing ticked), one page read
    KEY ix_mission_state (结讫),
    KEY ix_mission_flow (流水号),
    KEY ix_mission_order (货单号),
    KEY ix_mission_done (完成时间)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci STATS_SAMPLE_PAGES = 100;

-- Day totals of the piece-work, for the inquiry's totals over the settled years. A row holds
-- the count and sums of one day's rows (日期 = the first ten characters of 完成时间) for one
-- 维度: 0 all rows; or, by the bits 1 工号, 2 客户号 (the order's), 4 工序 (the flow's) and 8
-- 经办人, the rows of one such value or pair of values (the others 0 or ''). The sums leave out
-- a row whose amount 完成数量*工价-损耗数量*损耗单价 is NULL, as the inquiry does. The clients
-- make the rows of a day when an inquiry first needs them, never for today or yesterday, and
-- a day without work gets a row of 维度 0 with nothing counted, so that a day is made once
-- it has its row of 维度 0 and is not in kvc_record_mission_stale.
CREATE TABLE kvc_record_mission_day (
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

-- The days whose totals a change of the piece-work, of an order's customer or of a flow's
-- step has made wrong since: the triggers below add a day before yesterday here whoever
-- changes it, and the client that makes the day again takes it out.
CREATE TABLE kvc_record_mission_stale (
    日期 VARCHAR(10) NOT NULL DEFAULT '',
    PRIMARY KEY (日期)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Customers. Column 0 is the key (read by position).
CREATE TABLE kvc_record_client (
    客户号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    名称 VARCHAR(100) NOT NULL DEFAULT '',
    说明 VARCHAR(255) NOT NULL DEFAULT '',
    激活 INT NOT NULL DEFAULT 0,
    PRIMARY KEY (客户号),
    KEY ix_client_name (名称),
    KEY ix_client_active (激活)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Employees.
CREATE TABLE kvc_record_member (
    工号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    姓名 VARCHAR(50) NOT NULL DEFAULT '',
    身份 VARCHAR(50) NOT NULL DEFAULT '',
    班组 VARCHAR(50) NOT NULL DEFAULT '',
    激活 INT NOT NULL DEFAULT 0,
    累计 DOUBLE NOT NULL DEFAULT 0,
    PRIMARY KEY (工号),
    KEY ix_member_team (班组, 激活),
    KEY ix_member_role (身份)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Loss registry.
CREATE TABLE kvc_record_quality (
    序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    客户号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    日期 VARCHAR(19) NOT NULL DEFAULT '',
    数量 INT NOT NULL DEFAULT 0,
    原因 VARCHAR(255) NOT NULL DEFAULT '',
    责任人 VARCHAR(50) NOT NULL DEFAULT '',
    记录人 VARCHAR(50) NOT NULL DEFAULT '',
    经办人 VARCHAR(50) NOT NULL DEFAULT '',
    备注 VARCHAR(255) NOT NULL DEFAULT '',
    处理 INT UNSIGNED NOT NULL DEFAULT 0,
    PRIMARY KEY (序列号),
    KEY ix_quality_date (日期)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Shipments, one docket each. Physical column order matters (read by position).
CREATE TABLE kvc_record_ship (
    序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    货单号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    客户号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    开票人 VARCHAR(50) NOT NULL DEFAULT '',
    发货人 VARCHAR(50) NOT NULL DEFAULT '',
    发送时间 VARCHAR(19) NOT NULL DEFAULT '',
    款号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    品名 VARCHAR(255) NOT NULL DEFAULT '',
    洗涤方法 VARCHAR(255) NOT NULL DEFAULT '',
    货物数量 INT NOT NULL DEFAULT 0,
    损耗数量 INT NOT NULL DEFAULT 0,
    原版数量 INT NOT NULL DEFAULT 0,
    洗版数量 INT NOT NULL DEFAULT 0,
    货物单价 DOUBLE NOT NULL DEFAULT 0,
    经办人 VARCHAR(50) NOT NULL DEFAULT '',
    备注 VARCHAR(50) NOT NULL DEFAULT '',
    PRIMARY KEY (序列号),
    KEY ix_ship_order (货单号),
    KEY ix_ship_client (客户号, 发送时间),
    KEY ix_ship_time (发送时间)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Raw-material stock, one row per material, found by its name.
CREATE TABLE kvc_record_raw (
    名称 VARCHAR(100) NOT NULL,
    数量 DOUBLE NOT NULL DEFAULT 0,
    单位 VARCHAR(20) NOT NULL DEFAULT '',
    累计数量 DOUBLE NOT NULL DEFAULT 0,
    累计金额 DOUBLE NOT NULL DEFAULT 0,
    PRIMARY KEY (名称)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Purchases.
CREATE TABLE kvc_record_raw_in (
    序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    名称 VARCHAR(100) NOT NULL DEFAULT '',
    供应商号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    数量 DOUBLE NOT NULL DEFAULT 0,
    单价 DOUBLE NOT NULL DEFAULT 0,
    金额 DOUBLE NOT NULL DEFAULT 0,
    时间 VARCHAR(19) NOT NULL DEFAULT '',
    工号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    经办人 VARCHAR(50) NOT NULL DEFAULT '',
    PRIMARY KEY (序列号),
    KEY ix_raw_in_name (名称),
    KEY ix_raw_in_time (时间)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Material issues.
CREATE TABLE kvc_record_raw_out (
    序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    名称 VARCHAR(100) NOT NULL DEFAULT '',
    客户号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    数量 DOUBLE NOT NULL DEFAULT 0,
    时间 VARCHAR(19) NOT NULL DEFAULT '',
    班组 VARCHAR(50) NOT NULL DEFAULT '',
    工号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    经办人 VARCHAR(50) NOT NULL DEFAULT '',
    PRIMARY KEY (序列号),
    -- Every column the inquiry groups by or filters on, grouping columns first: its totals
    -- are read from this key alone, in group order (docs/plans.md).
    KEY ix_raw_out_sums (名称, 客户号, 班组, 数量, 工号, 经办人, 时间),
    KEY ix_raw_out_time (时间)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Suppliers; the name is unique, so that two desks adding one name at once keep one row.
CREATE TABLE kvc_record_supplier (
    供应商号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    名称 VARCHAR(100) NOT NULL DEFAULT '',
    备注 VARCHAR(255) NOT NULL DEFAULT '',
    PRIMARY KEY (供应商号),
    UNIQUE KEY ux_supplier_name (名称)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Settlements: one row per employee and settled period, written by the settlement with
-- the server's key (rows brought in from elsewhere may bring their own).
CREATE TABLE kvc_record_salary (
    序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    工号 BIGINT UNSIGNED NOT NULL DEFAULT 0,
    金额 DOUBLE NOT NULL DEFAULT 0,
    起始日期 VARCHAR(19) NOT NULL DEFAULT '',
    截止日期 VARCHAR(19) NOT NULL DEFAULT '',
    PRIMARY KEY (序列号),
    KEY ix_salary_member (工号)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Log-in accounts. 密码 holds a salted hash of the password (Argon2id), or "$server$" when
-- the database server keeps it (the person signs in to the database as himself); never the
-- password. 错误次数 counts the wrong passwords typed since the last sign-in, the last one
-- at 错误时间.
CREATE TABLE kvc_record_user (
    序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    账号 VARCHAR(50) NOT NULL DEFAULT '',
    密码 VARCHAR(128) NOT NULL DEFAULT '',
    权限 VARCHAR(50) NOT NULL DEFAULT '',
    错误次数 INT UNSIGNED NOT NULL DEFAULT 0,
    错误时间 DATETIME NULL,
    PRIMARY KEY (序列号),
    UNIQUE KEY ux_user_account (账号)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Lists of choices. The value column comes first; no key on it, so that a plain
-- "select *" returns the values in the order they were entered.
CREATE TABLE kvc_attrib_nature (货物属性 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
CREATE TABLE kvc_attrib_type (货物类型 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
CREATE TABLE kvc_attrib_kind (货物款式 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
CREATE TABLE kvc_attrib_sex (货物性别 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
CREATE TABLE kvc_attrib_priority (货物等级 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
CREATE TABLE kvc_attrib_group (班组名称 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
CREATE TABLE kvc_attrib_identity (身份 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
CREATE TABLE kvc_attrib_station (名称 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;
CREATE TABLE kvc_attrib_technology_type (名称 VARCHAR(50) NOT NULL DEFAULT '')
    DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

CREATE TABLE kvc_attrib_technology (
    名称 VARCHAR(100) NOT NULL DEFAULT '',
    类型 VARCHAR(50) NOT NULL DEFAULT '',
    价格 DOUBLE NOT NULL DEFAULT 0,
    UNIQUE KEY ux_technology_name (名称),
    KEY ix_technology_type (类型)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

CREATE TABLE kvc_attrib_process (
    名称 VARCHAR(100) NOT NULL DEFAULT '',
    工作站 VARCHAR(50) NOT NULL DEFAULT '',
    工价 DOUBLE NOT NULL DEFAULT 0,
    UNIQUE KEY ux_process_name (名称),
    KEY ix_process_station (工作站)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Settings rows, found by name.
CREATE TABLE kvc_attrib_mod (
    名称 VARCHAR(50) NOT NULL DEFAULT '',
    内容 VARCHAR(255) NOT NULL DEFAULT '',
    UNIQUE KEY ux_mod_name (名称)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Not business data: one row per action the client committed. When the reply to a COMMIT
-- is lost, the client finds out by this row whether the action was saved. The clients
-- delete rows older than a day.
CREATE TABLE kvc_record_commit (
    序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    令牌 VARCHAR(32) NOT NULL DEFAULT '',
    时间 TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP,
    PRIMARY KEY (序列号),
    KEY ix_commit_time (时间)
) DEFAULT CHARSET = gbk COLLATE = gbk_chinese_ci;

-- Totals kept by the writes, for the counts and sums over the whole history: the shipped
-- orders' count of the shipping desk, the order inquiry's and the shipment inquiry's totals
-- of everything or of one customer. The triggers below keep them in the transaction of
-- every change of an order or a shipment, whoever writes it. A total is spread over rows by
-- customer, state and 槽 (the order number modulo 16), so that desks writing at once, also
-- on different nodes of a cluster, seldom meet on one row; a reader adds up the rows (a few
-- thousand at most).
-- The orders of a state (激活, 结讫), customer and 槽: their count and sums.
CREATE TABLE kvc_record_product_total (
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
CREATE TABLE kvc_record_ship_total (
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

-- The triggers that keep kvc_record_mission_day honest: a change that moves the totals of a
-- day before yesterday adds that day to kvc_record_mission_stale. Today's and yesterday's
-- work (every hand-over) is never summed into days, and settling (结讫) changes no total, so
-- for the busy writes a trigger costs a comparison and takes no lock.
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

DELIMITER //
-- The account name of the session: a person signed in to the database as himself.
CREATE FUNCTION kv_session_account() RETURNS VARCHAR(80) NOT DETERMINISTIC NO SQL
RETURN LEFT(SESSION_USER(), CHAR_LENGTH(SESSION_USER()) - LOCATE('@', REVERSE(SESSION_USER())))//
DELIMITER ;
-- What may be read of the accounts without reading their passwords: the account grid sees
-- whether a password is set; a person signed in as himself sees his own account.
CREATE SQL SECURITY DEFINER VIEW kvc_view_user AS
    SELECT 序列号, 账号, 密码 <> '' AS 有密码, 权限 FROM kvc_record_user;
CREATE SQL SECURITY DEFINER VIEW kvc_view_self AS
    SELECT 序列号, 账号, 权限, 错误次数 FROM kvc_record_user
    WHERE 账号 = kv_session_account()
    WITH CHECK OPTION;

-- Log-in guessing is slowed per account, on the server so that no client can forget it: after
-- five wrong passwords in a row each further try waits, 5 s after the fifth, twice as long
-- after each one more, ten minutes at most. A sign-in resets the count.
DELIMITER //
-- The seconds the next try of an account must still wait (0: it may try now).
CREATE FUNCTION kv_login_wait(who VARCHAR(50)) RETURNS INT READS SQL DATA
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
CREATE PROCEDURE kv_login_failed(who VARCHAR(50)) MODIFIES SQL DATA
    UPDATE kvc_record_user SET 错误次数 = 错误次数 + 1, 错误时间 = NOW() WHERE 账号 = who//
-- An account moved to a database account of its own while its password was a hash signs in
-- to the database first with the hash's last part, which only the password makes again from
-- the hash's parameters and salt given here (NULL for every other account).
CREATE FUNCTION kv_login_salt(who VARCHAR(50)) RETURNS VARCHAR(128) READS SQL DATA
RETURN (SELECT LEFT(密码, CHAR_LENGTH(密码) - CHAR_LENGTH(SUBSTRING_INDEX(密码, '$', -1)))
        FROM kvc_record_user WHERE 账号 = who AND 密码 LIKE '$argon2id$%' LIMIT 1)//
-- A Galera node that aborts a statement for another node's write while the statement loads a
-- table's triggers keeps that table's copy with its triggers unparsed, and every later write
-- through that copy fails as a syntax error. A client that meets one reloads the tables with
-- triggers of the node it is on (with the rights of whoever loaded the schema) and runs its
-- action again. The copies in use are closed as their transactions end; the flush waits for
-- them at most 2 s, and meanwhile the node's new statements on these tables wait with it.
CREATE PROCEDURE kv_reload_triggers() MODIFIES SQL DATA
    SET STATEMENT lock_wait_timeout = 2 FOR
    FLUSH LOCAL TABLES kvc_record_product, kvc_record_procedure, kvc_record_mission, kvc_record_ship//
DELIMITER ;
