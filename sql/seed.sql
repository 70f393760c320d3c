-- Rows every installation needs: the choice lists the client's logic tests for, the two
-- settings rows and the first administrator. Load after schema.sql, as UTF-8.
SET NAMES utf8mb4;

-- The seven workstations, then intake and shipping.
INSERT INTO kvc_attrib_station (名称) VALUES
    ('洗水'), ('喷砂'), ('树脂'), ('手工'), ('夹烫'), ('手擦'), ('马骝'), ('接收'), ('发送');

INSERT INTO kvc_attrib_priority (货物等级) VALUES ('一般'), ('加急'), ('紧急');

INSERT INTO kvc_attrib_identity (身份) VALUES
    ('管理员'), ('董事长'), ('厂长'), ('财务'), ('调度'), ('运输'),
    ('洗水班长'), ('喷砂班长'), ('树脂班长'), ('手工班长'), ('夹烫班长'), ('手擦班长'), ('马骝班长'),
    ('员工'), ('游客');

INSERT INTO kvc_attrib_nature (货物属性) VALUES ('新货'), ('返工'), ('打版'), ('其它');

INSERT INTO kvc_attrib_technology_type (名称) VALUES ('洗水'), ('喷砂'), ('树脂'), ('手工'), ('套餐');

INSERT INTO kvc_attrib_group (班组名称) VALUES
    ('洗水组'), ('喷砂组'), ('树脂组'), ('手工组'), ('夹烫组'), ('手擦组'), ('马骝组'), ('办公室'), ('运输组');

INSERT INTO kvc_attrib_type (货物类型) VALUES ('牛仔裤'), ('休闲裤'), ('短裤'), ('夹克'), ('衬衫'), ('裙子');

INSERT INTO kvc_attrib_kind (货物款式) VALUES ('直筒'), ('修身'), ('宽松'), ('喇叭'), ('铅笔');

INSERT INTO kvc_attrib_sex (货物性别) VALUES ('男装'), ('女装'), ('童装'), ('中性');

-- The privileged password (8888) as its hash; change it in 生产管理.
INSERT INTO kvc_attrib_mod (名称, 内容) VALUES ('损耗单价', '5.00'),
    ('特权密码', '$argon2id$v=19$m=65536,t=2,p=1$kXbD7cpjCzP4iPACIS0sbg$9ejZNHOUPHA5SjqXojDDjOXGDghcexan3zEbVZ8yv28');

-- The first administrator, password admin (kept as its hash); change it after the first sign-in.
INSERT INTO kvc_record_user (账号, 密码, 权限) VALUES
    ('admin', '$argon2id$v=19$m=65536,t=2,p=1$dwRwicMdabD02afv+T8AxQ$qYjuc4pob5gGGjuLi5p6sdSnkNiMcZYTnhgqYtk2f2c', '管理员');
