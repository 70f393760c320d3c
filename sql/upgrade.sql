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
