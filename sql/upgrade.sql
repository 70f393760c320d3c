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
-- The piece-work statistics sampled wide enough to count the employees as they are.
ALTER TABLE kvc_record_mission STATS_SAMPLE_PAGES = 100;
-- Settlement rows take the server's key (earlier clients wrote none).
ALTER TABLE kvc_record_salary MODIFY 序列号 BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
    ADD PRIMARY KEY IF NOT EXISTS (序列号);
