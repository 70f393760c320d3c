-- Demo master data for the local run: customers, employees, technologies, process steps
-- and one log-in account per identity. Load after schema.sql and seed.sql, as UTF-8. The
-- weeks of factory life on top of it come from kvhistory --demo (scripts/demodb).
SET NAMES utf8mb4;

INSERT INTO kvc_record_client (名称, 说明, 激活) VALUES
    ('广州天河制衣厂', '长期客户，月结', 1),
    ('佛山南海牛仔服饰', '牛仔裤为主', 1),
    ('东莞虎门时装公司', '女装', 1),
    ('中山沙溪休闲服', '休闲裤、短裤', 1),
    ('深圳龙华童装厂', '童装，小批量', 1),
    ('增城新塘牛仔城', '大批量，急单多', 1),
    ('江门开平服装厂', '已停止合作', 0);

-- Employees: office, dispatch, transport and every workshop team.
INSERT INTO kvc_record_member (姓名, 身份, 班组, 激活) VALUES
    ('陈国强', '董事长', '办公室', 1),
    ('李建华', '厂长', '办公室', 1),
    ('王丽萍', '财务', '办公室', 1),
    ('张志明', '调度', '办公室', 1),
    ('刘晓燕', '调度', '办公室', 1),
    ('黄永发', '运输', '运输组', 1),
    ('周大海', '运输', '运输组', 1),
    ('吴德胜', '洗水班长', '洗水组', 1),
    ('郑小军', '员工', '洗水组', 1),
    ('孙文杰', '员工', '洗水组', 1),
    ('何美玲', '员工', '洗水组', 1),
    ('林志勇', '喷砂班长', '喷砂组', 1),
    ('罗俊', '员工', '喷砂组', 1),
    ('梁家辉', '员工', '喷砂组', 1),
    ('谢海涛', '树脂班长', '树脂组', 1),
    ('宋佳', '员工', '树脂组', 1),
    ('唐明', '手工班长', '手工组', 1),
    ('许丽', '员工', '手工组', 1),
    ('韩雪', '员工', '手工组', 1),
    ('冯刚', '夹烫班长', '夹烫组', 1),
    ('邓超', '员工', '夹烫组', 1),
    ('曹兰', '手擦班长', '手擦组', 1),
    ('彭亮', '员工', '手擦组', 1),
    ('曾伟', '马骝班长', '马骝组', 1),
    ('萧红', '员工', '马骝组', 1),
    ('田七', '员工', '洗水组', 0);

INSERT INTO kvc_attrib_technology (名称, 类型, 价格) VALUES
    ('普洗', '洗水', 1.50),
    ('石磨', '洗水', 2.50),
    ('酵素洗', '洗水', 2.00),
    ('雪花洗', '洗水', 3.00),
    ('漂白', '洗水', 1.80),
    ('喷砂', '喷砂', 2.20),
    ('马骝', '喷砂', 1.20),
    ('树脂压皱', '树脂', 3.50),
    ('猫须', '手工', 1.00),
    ('手擦', '手工', 1.30),
    ('破洞', '手工', 0.80),
    ('经典套餐', '套餐', 6.00);

INSERT INTO kvc_attrib_process (名称, 工作站, 工价) VALUES
    ('普洗工序', '洗水', 0.30),
    ('石磨工序', '洗水', 0.50),
    ('酵素工序', '洗水', 0.45),
    ('漂洗工序', '洗水', 0.35),
    ('喷砂工序', '喷砂', 0.40),
    ('树脂工序', '树脂', 0.60),
    ('猫须工序', '手工', 0.25),
    ('破洞工序', '手工', 0.20),
    ('夹烫工序', '夹烫', 0.30),
    ('手擦工序', '手擦', 0.35),
    ('马骝工序', '马骝', 0.25);

-- One log-in account per identity; the password of each is 123456 (kept as its hash).
INSERT INTO kvc_record_user (账号, 密码, 权限) VALUES
    ('董事长', '$argon2id$v=19$m=65536,t=2,p=1$by/X4aL1re+DLOeS4Hruow$Zz3ZJcLewKdlSn26iuyZ3CSpIy+IO/971bmcO25R7ts', '董事长'),
    ('厂长', '$argon2id$v=19$m=65536,t=2,p=1$tghA7sc4xP84086amrchUg$CAGaFN6R4t70j+Ft3dSTnHvoQvsjPRsKr/7yk+3/1Qk', '厂长'),
    ('财务', '$argon2id$v=19$m=65536,t=2,p=1$hxkM2l5BXKzKXqPyIXSvew$RJYegxUlvDMnx3JKVICjVZGiPSHEOf6EThaWmFXgJwQ', '财务'),
    ('调度', '$argon2id$v=19$m=65536,t=2,p=1$RRo0kLXAEFmmdNVSsiUDhw$FO9NARANOD+EDpg3/EXLKRyGUS7eNfj555Jj6SKS8K4', '调度'),
    ('运输', '$argon2id$v=19$m=65536,t=2,p=1$6sR4pEqXlON8u9twWx6zbw$1u7dxhwio5S0Be9wc0Bhh39fjAIdRx+x8NrcW2c2q9g', '运输'),
    ('洗水班长', '$argon2id$v=19$m=65536,t=2,p=1$OuDWSq1sqmQnyn/l0KA9Tg$W2FX4BKlybs55mdYPaLUdS16pva+edZGL290U7aP19E', '洗水班长'),
    ('喷砂班长', '$argon2id$v=19$m=65536,t=2,p=1$4XFxYVQ14j6wsTyWpy1yIA$FzvteduzkSw8qt8hoM6c2lCO8erPKSpvVR92+ENEbjo', '喷砂班长'),
    ('树脂班长', '$argon2id$v=19$m=65536,t=2,p=1$gyRfgU4vktHmTFiUtzuMqA$ubHhEhK977I5OQ4H68bJd9bsYOQ2vbPGW0HDadYC1Ec', '树脂班长'),
    ('手工班长', '$argon2id$v=19$m=65536,t=2,p=1$q/GDjA2ZNFxueIT26QO0IA$3k1C9PS1m/FngIcMb44Yq/iprMaeCBzc7p6JfpVr3DI', '手工班长'),
    ('夹烫班长', '$argon2id$v=19$m=65536,t=2,p=1$lo5aH0aZnqDCMXoJy+bcEw$blOXcGYStB0A0PJaNgiMFIgziitIGqt1bLABPTEysDs', '夹烫班长'),
    ('手擦班长', '$argon2id$v=19$m=65536,t=2,p=1$kJrLqdSPnps4jFozOPkT1Q$vG9kCTM3v3GbdicVJbNeVoJfGnvJp/39m6d4s7FUkXc', '手擦班长'),
    ('马骝班长', '$argon2id$v=19$m=65536,t=2,p=1$0G9z4AM2qQ+4fTQpKdNV7g$AmxQe75w4kyay7rim80IKP4OnaQaAUiUxzUBFVM8Vko', '马骝班长'),
    ('员工', '$argon2id$v=19$m=65536,t=2,p=1$3xDoCMdAWtuJieDLkmKvcg$ctvfoOZkJkSTmSlA3MfoBBRIlTSVzsaGWuMDnL0YBus', '员工'),
    ('游客', '$argon2id$v=19$m=65536,t=2,p=1$d+6T7SldDO3BR/xXgQrvXw$st4WOfuWn3WO3604+SSQYNVKEE1acSemvOhs286IJYU', '游客');
