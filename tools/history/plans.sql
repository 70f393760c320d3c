-- The screens' statements, as the screens send them, for kvplans. A line "-- @name"
-- starts a statement; {x} is filled from the data (see Plans.cpp).

-- @dashboard.orders
select kvc_record_product.货单号, kvc_record_client.名称, kvc_record_product.货物数量, kvc_record_product.接货时间, kvc_record_product.洗涤方法, kvc_record_product.接货人, kvc_record_product.货物性质, kvc_record_product.款号, kvc_record_product.货物分类, kvc_record_product.货物性别, kvc_record_product.货物等级, kvc_record_product.货物单价, kvc_record_product.货物款式, kvc_record_product.损耗单价, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.关联, kvc_record_product.激活, kvc_record_product.激活时间 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.结讫=0 order by kvc_record_product.货单号
-- @dashboard.order-flows
select kvc_record_procedure.流水号, kvc_record_procedure.工作站, kvc_record_procedure.数量 from kvc_record_procedure where kvc_record_procedure.货单号={order_open} and kvc_record_procedure.结讫=0
-- @dashboard.methods
select kvc_record_product.洗涤方法 from kvc_record_product where kvc_record_product.激活=1 and kvc_record_product.结讫=0
-- @dashboard.method-pieces
select kvc_record_product.货物数量 from kvc_record_product where kvc_record_product.洗涤方法='{method}' and kvc_record_product.激活=1 and kvc_record_product.结讫=0
-- @dashboard.waiting
select kvc_record_procedure.数量 from kvc_record_procedure where kvc_record_procedure.工作站='{station}' and kvc_record_procedure.结讫=0
-- @dashboard.waiting-shipping
select kvc_record_procedure.数量 from kvc_record_procedure where kvc_record_procedure.工作站='发送' and kvc_record_procedure.结讫=0 and kvc_record_procedure.上一站<>'发送'
-- @dashboard.finished-today
select kvc_record_procedure.数量 from kvc_record_procedure where kvc_record_procedure.工作站='{station}' and kvc_record_procedure.结讫=1 and kvc_record_procedure.结讫时间 like '{today}%' and kvc_record_procedure.工序<>'转发'
-- @dashboard.technology
select kvc_record_product.货物数量, kvc_record_product.洗涤方法 from kvc_record_product where kvc_record_product.洗涤方法 like '%[{tech}]%' and kvc_record_product.激活=1 and kvc_record_product.结讫=0

-- @intake.activated
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法 from kvc_record_client, kvc_record_product where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.激活=1 and kvc_record_product.结讫=0 order by kvc_record_product.货单号 desc
-- @intake.waiting-orders
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法 from kvc_record_client, kvc_record_product where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.激活=0 and kvc_record_product.结讫=0 order by kvc_record_product.货单号 desc
-- @intake.waiting-flows
select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, kvc_record_procedure.货物等级, kvc_record_procedure.上一站, kvc_record_procedure.数量, kvc_record_procedure.生成时间, kvc_record_procedure.历史 from kvc_record_client, kvc_record_procedure where kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.工作站='接收' and kvc_record_procedure.结讫=0 order by kvc_record_procedure.流水号 desc

-- @station.sent-back
select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, kvc_record_procedure.货物等级, kvc_record_procedure.上一站, kvc_record_procedure.数量, kvc_record_procedure.生成时间 from kvc_record_procedure, kvc_record_client where kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.上一站='{station}' and kvc_record_procedure.工作站='{station}' and kvc_record_procedure.结讫=0 order by kvc_record_procedure.流水号 desc
-- @station.derived
select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, kvc_record_procedure.货物等级, kvc_record_procedure.上一站, kvc_record_procedure.数量, kvc_record_procedure.生成时间 from kvc_record_procedure, kvc_record_client where kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.派生=1 and kvc_record_procedure.工作站='{station}' and kvc_record_procedure.结讫=0
-- @station.urgent
select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, kvc_record_procedure.货物等级, kvc_record_procedure.上一站, kvc_record_procedure.数量, kvc_record_procedure.生成时间 from kvc_record_procedure, kvc_record_client where kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.货物等级='紧急' and kvc_record_procedure.工作站='{station}' and kvc_record_procedure.结讫=0
-- @station.hurried
select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, kvc_record_procedure.货物等级, kvc_record_procedure.上一站, kvc_record_procedure.数量, kvc_record_procedure.生成时间 from kvc_record_procedure, kvc_record_client where kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.货物等级='加急' and kvc_record_procedure.工作站='{station}' and kvc_record_procedure.结讫=0
-- @station.normal
select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, kvc_record_procedure.货物等级, kvc_record_procedure.上一站, kvc_record_procedure.数量, kvc_record_procedure.生成时间 from kvc_record_procedure, kvc_record_client where kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.货物等级='一般' and kvc_record_procedure.工作站='{station}' and kvc_record_procedure.结讫=0
-- @station.saved-state
select kvc_record_procedure.结讫 from kvc_record_procedure where kvc_record_procedure.流水号={flow}
-- @station.done-all
select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, kvc_record_procedure.数量, kvc_record_procedure.工序, kvc_record_procedure.派生, kvc_record_procedure.结讫时间 from kvc_record_procedure, kvc_record_client where kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.结讫=1 and kvc_record_procedure.工作站='{station}' order by kvc_record_procedure.流水号 desc
-- @station.done-1024
select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, kvc_record_procedure.数量, kvc_record_procedure.工序, kvc_record_procedure.派生, kvc_record_procedure.结讫时间 from kvc_record_procedure, kvc_record_client where kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.结讫=1 and kvc_record_procedure.工作站='{station}' order by kvc_record_procedure.流水号 desc limit 1024
-- @station.details
select kvc_record_client.名称, kvc_record_product.洗涤方法, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.货物等级, kvc_record_product.损耗单价 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.货单号={order_open}
-- @station.team
select kvc_record_member.工号, kvc_record_member.姓名 from kvc_record_member where kvc_record_member.班组='洗水组' and kvc_record_member.激活=1

-- @shipping.Q1
select distinct kvc_record_procedure.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物等级, kvc_record_product.货物数量, kvc_record_product.损耗数量, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法 from kvc_record_product, kvc_record_client, kvc_record_procedure where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.货单号=kvc_record_procedure.货单号 and kvc_record_procedure.结讫=0 and kvc_record_procedure.工作站='发送' order by kvc_record_procedure.货单号 desc
-- @shipping.Q1-count
select count(distinct kvc_record_procedure.货单号) from kvc_record_product, kvc_record_client, kvc_record_procedure where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.货单号=kvc_record_procedure.货单号 and kvc_record_procedure.结讫=0 and kvc_record_procedure.工作站='发送'
-- @shipping.Q2-all
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物等级, kvc_record_product.货物数量, kvc_record_product.损耗数量, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.激活=1 and kvc_record_product.结讫=1 order by kvc_record_product.货单号 desc
-- @shipping.Q2-count
select count(*) from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.激活=1 and kvc_record_product.结讫=1
-- @shipping.Q2-page1
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物等级, kvc_record_product.货物数量, kvc_record_product.损耗数量, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.激活=1 and kvc_record_product.结讫=1 order by kvc_record_product.货单号 desc limit 0, 1024
-- @shipping.Q2-page200
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物等级, kvc_record_product.货物数量, kvc_record_product.损耗数量, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.激活=1 and kvc_record_product.结讫=1 order by kvc_record_product.货单号 desc limit 203776, 1024
-- @shipping.Q3
select kvc_record_procedure.流水号, kvc_record_procedure.数量, kvc_record_procedure.上一站, kvc_record_procedure.工作站, kvc_record_procedure.生成时间, kvc_record_procedure.历史 from kvc_record_procedure where kvc_record_procedure.货单号={order_shipping} and kvc_record_procedure.工作站<>'发送' and kvc_record_procedure.结讫=0 order by kvc_record_procedure.流水号
-- @shipping.Q4
select kvc_record_procedure.流水号, kvc_record_procedure.数量, kvc_record_procedure.上一站, kvc_record_procedure.工作站, kvc_record_procedure.生成时间, kvc_record_procedure.历史 from kvc_record_procedure where kvc_record_procedure.货单号={order_shipping} and kvc_record_procedure.上一站<>'发送' and kvc_record_procedure.工作站='发送' and kvc_record_procedure.结讫=0 order by kvc_record_procedure.流水号
-- @shipping.Q5
select kvc_record_procedure.流水号, kvc_record_procedure.数量, kvc_record_procedure.上一站, kvc_record_procedure.工作站, kvc_record_procedure.生成时间, kvc_record_procedure.历史 from kvc_record_procedure where kvc_record_procedure.货单号={order_shipping} and kvc_record_procedure.上一站='发送' and kvc_record_procedure.工作站='发送' and kvc_record_procedure.结讫=0 order by kvc_record_procedure.流水号
-- @shipping.Q6
select kvc_record_ship.序列号, kvc_record_ship.原版数量, kvc_record_ship.洗版数量, kvc_record_ship.损耗数量, kvc_record_ship.货物数量, kvc_record_ship.发送时间, kvc_record_ship.发货人 from kvc_record_ship where kvc_record_ship.货单号={order_shipping}
-- @shipping.Q7
select kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.货物数量 from kvc_record_product where kvc_record_product.货单号={order_shipping}
-- @shipping.closing-test
select * from kvc_record_procedure where 货单号={order_shipping} and 工作站<>'发送' and 结讫=0
-- @shipping.close-confirmed
update kvc_record_procedure set 结讫=1 where 货单号={order_shipping} and 上一站='发送' and 工作站='发送' and 结讫=0
-- @shipping.repair
update kvc_record_procedure, kvc_record_product set kvc_record_procedure.结讫=1 where kvc_record_procedure.上一站='发送' and kvc_record_procedure.工作站='发送' and kvc_record_procedure.结讫=0 and kvc_record_procedure.货单号=kvc_record_product.货单号 and kvc_record_product.结讫=1

-- @shipments.all
select kvc_record_ship.序列号, kvc_record_ship.货单号, kvc_record_client.名称, kvc_record_ship.开票人, kvc_record_ship.发货人, kvc_record_ship.发送时间, kvc_record_ship.款号, kvc_record_ship.品名, kvc_record_ship.洗涤方法, kvc_record_ship.货物数量, kvc_record_ship.损耗数量, kvc_record_ship.原版数量, kvc_record_ship.洗版数量, kvc_record_ship.货物单价, kvc_record_ship.经办人, kvc_record_ship.备注 from kvc_record_ship, kvc_record_client, kvc_record_product where kvc_record_ship.客户号=kvc_record_client.客户号 and kvc_record_ship.货单号=kvc_record_product.货单号
-- @shipments.client
select kvc_record_ship.序列号, kvc_record_ship.货单号, kvc_record_client.名称, kvc_record_ship.开票人, kvc_record_ship.发货人, kvc_record_ship.发送时间, kvc_record_ship.款号, kvc_record_ship.品名, kvc_record_ship.洗涤方法, kvc_record_ship.货物数量, kvc_record_ship.损耗数量, kvc_record_ship.原版数量, kvc_record_ship.洗版数量, kvc_record_ship.货物单价, kvc_record_ship.经办人, kvc_record_ship.备注 from kvc_record_ship, kvc_record_client, kvc_record_product where kvc_record_ship.客户号=kvc_record_client.客户号 and kvc_record_ship.货单号=kvc_record_product.货单号 and kvc_record_ship.客户号={client}
-- @shipments.month
select kvc_record_ship.序列号, kvc_record_ship.货单号, kvc_record_client.名称, kvc_record_ship.开票人, kvc_record_ship.发货人, kvc_record_ship.发送时间, kvc_record_ship.款号, kvc_record_ship.品名, kvc_record_ship.洗涤方法, kvc_record_ship.货物数量, kvc_record_ship.损耗数量, kvc_record_ship.原版数量, kvc_record_ship.洗版数量, kvc_record_ship.货物单价, kvc_record_ship.经办人, kvc_record_ship.备注 from kvc_record_ship, kvc_record_client, kvc_record_product where kvc_record_ship.客户号=kvc_record_client.客户号 and kvc_record_ship.货单号=kvc_record_product.货单号 and kvc_record_ship.发送时间>'{lastmonth} 00:00:00' and kvc_record_ship.发送时间<'{month} 00:00:00'
-- @shipments.client-month
select kvc_record_ship.序列号, kvc_record_ship.货单号, kvc_record_client.名称, kvc_record_ship.开票人, kvc_record_ship.发货人, kvc_record_ship.发送时间, kvc_record_ship.款号, kvc_record_ship.品名, kvc_record_ship.洗涤方法, kvc_record_ship.货物数量, kvc_record_ship.损耗数量, kvc_record_ship.原版数量, kvc_record_ship.洗版数量, kvc_record_ship.货物单价, kvc_record_ship.经办人, kvc_record_ship.备注 from kvc_record_ship, kvc_record_client, kvc_record_product where kvc_record_ship.客户号=kvc_record_client.客户号 and kvc_record_ship.货单号=kvc_record_product.货单号 and kvc_record_ship.客户号={client} and kvc_record_ship.发送时间>'{lastmonth} 00:00:00' and kvc_record_ship.发送时间<'{month} 00:00:00'
-- @shipments.order
select kvc_record_ship.序列号, kvc_record_ship.货单号, kvc_record_client.名称, kvc_record_ship.开票人, kvc_record_ship.发货人, kvc_record_ship.发送时间, kvc_record_ship.款号, kvc_record_ship.品名, kvc_record_ship.洗涤方法, kvc_record_ship.货物数量, kvc_record_ship.损耗数量, kvc_record_ship.原版数量, kvc_record_ship.洗版数量, kvc_record_ship.货物单价, kvc_record_ship.经办人, kvc_record_ship.备注 from kvc_record_ship, kvc_record_client, kvc_record_product where kvc_record_ship.客户号=kvc_record_client.客户号 and kvc_record_ship.货单号=kvc_record_product.货单号 and kvc_record_ship.货单号={order_old}
-- @shipments.nature-month
select kvc_record_ship.货物数量, kvc_record_ship.损耗数量, kvc_record_ship.原版数量, kvc_record_ship.洗版数量, kvc_record_ship.货物单价 from kvc_record_ship, kvc_record_client, kvc_record_product where kvc_record_ship.客户号=kvc_record_client.客户号 and kvc_record_ship.货单号=kvc_record_product.货单号 and kvc_record_ship.发送时间>'{lastmonth} 00:00:00' and kvc_record_ship.发送时间<'{month} 00:00:00' and kvc_record_product.货物性质='返工'

-- @statistics.customers
select distinct kvc_record_client.客户号, kvc_record_client.名称 from kvc_record_client, kvc_record_ship where kvc_record_ship.发送时间>'{lastmonth} 00:00:00' and kvc_record_ship.发送时间<'{month} 00:00:00' and kvc_record_ship.客户号=kvc_record_client.客户号
-- @statistics.methods
select distinct kvc_record_ship.洗涤方法 from kvc_record_ship where kvc_record_ship.客户号={client} and kvc_record_ship.发送时间>'{lastmonth} 00:00:00' and kvc_record_ship.发送时间<'{month} 00:00:00'
-- @statistics.rows
select kvc_record_ship.序列号, kvc_record_ship.发送时间, kvc_record_ship.货单号, kvc_record_ship.品名, kvc_record_ship.货物数量, kvc_record_ship.货物单价, kvc_record_ship.备注 from kvc_record_ship where kvc_record_ship.客户号={client} and kvc_record_ship.发送时间>'{lastmonth} 00:00:00' and kvc_record_ship.发送时间<'{month} 00:00:00' and kvc_record_ship.洗涤方法='[石磨]'

-- @orders.open
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法, kvc_record_product.货物单价, kvc_record_product.损耗单价, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.货物等级, kvc_record_product.关联, kvc_record_product.激活, kvc_record_product.激活时间, kvc_record_product.结讫, kvc_record_product.结讫时间, kvc_record_product.经办人 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.结讫=0
-- @orders.client-open
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法, kvc_record_product.货物单价, kvc_record_product.损耗单价, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.货物等级, kvc_record_product.关联, kvc_record_product.激活, kvc_record_product.激活时间, kvc_record_product.结讫, kvc_record_product.结讫时间, kvc_record_product.经办人 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.客户号={client} and kvc_record_product.结讫=0
-- @orders.received-month
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法, kvc_record_product.货物单价, kvc_record_product.损耗单价, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.货物等级, kvc_record_product.关联, kvc_record_product.激活, kvc_record_product.激活时间, kvc_record_product.结讫, kvc_record_product.结讫时间, kvc_record_product.经办人 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.接货时间>'{lastmonth} 00:00:00' and kvc_record_product.接货时间<'{month} 00:00:00'
-- @orders.closed-month
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法, kvc_record_product.货物单价, kvc_record_product.损耗单价, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.货物等级, kvc_record_product.关联, kvc_record_product.激活, kvc_record_product.激活时间, kvc_record_product.结讫, kvc_record_product.结讫时间, kvc_record_product.经办人 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.结讫时间>'{lastmonth} 00:00:00' and kvc_record_product.结讫时间<'{month} 00:00:00'
-- @orders.activated-month
select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法, kvc_record_product.货物单价, kvc_record_product.损耗单价, kvc_record_product.原版数量, kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.货物等级, kvc_record_product.关联, kvc_record_product.激活, kvc_record_product.激活时间, kvc_record_product.结讫, kvc_record_product.结讫时间, kvc_record_product.经办人 from kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.激活时间>'{lastmonth} 00:00:00' and kvc_record_product.激活时间<'{month} 00:00:00'
-- @orders.running-flows
select kvc_record_procedure.流水号, kvc_record_procedure.上一站, kvc_record_procedure.工作站, kvc_record_procedure.数量 from kvc_record_procedure where kvc_record_procedure.货单号={order_open} and kvc_record_procedure.结讫=0
-- @orders.shipments
select kvc_record_ship.序列号, kvc_record_ship.货物数量, kvc_record_ship.发货人, kvc_record_ship.发送时间 from kvc_record_ship where kvc_record_ship.货单号={order_old}
-- @orders.chain-step
select kvc_record_procedure.上一号, kvc_record_procedure.工序, kvc_record_procedure.历史, kvc_record_procedure.结讫 from kvc_record_procedure where kvc_record_procedure.流水号={flow_old}
-- @orders.step-workers
select kvc_record_mission.工号, kvc_record_member.姓名, kvc_record_mission.共计 from kvc_record_mission, kvc_record_member where kvc_record_mission.工号=kvc_record_member.工号 and kvc_record_mission.流水号={flow_old}

-- @piecework.default
select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, kvc_record_member.姓名, kvc_record_mission.完成时间, kvc_record_mission.完成数量, kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, kvc_record_mission.共计, kvc_record_mission.结讫, kvc_record_mission.经办人 from kvc_record_mission, kvc_record_member where kvc_record_mission.结讫=0 and kvc_record_mission.工号=kvc_record_member.工号 order by kvc_record_mission.任务号
-- @piecework.employee
select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, kvc_record_member.姓名, kvc_record_mission.完成时间, kvc_record_mission.完成数量, kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, kvc_record_mission.共计, kvc_record_mission.结讫, kvc_record_mission.经办人 from kvc_record_mission, kvc_record_member where kvc_record_mission.工号=kvc_record_member.工号 and kvc_record_mission.工号={member} and kvc_record_mission.结讫=0 order by kvc_record_mission.任务号
-- @piecework.client
select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, kvc_record_member.姓名, kvc_record_mission.完成时间, kvc_record_mission.完成数量, kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, kvc_record_mission.共计, kvc_record_mission.结讫, kvc_record_mission.经办人 from kvc_record_mission, kvc_record_product, kvc_record_client, kvc_record_member where kvc_record_mission.工号=kvc_record_member.工号 and kvc_record_client.客户号={client} and kvc_record_client.客户号=kvc_record_product.客户号 and kvc_record_product.货单号=kvc_record_mission.货单号 and kvc_record_mission.结讫=0 order by kvc_record_mission.任务号
-- @piecework.process
select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, kvc_record_member.姓名, kvc_record_mission.完成时间, kvc_record_mission.完成数量, kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, kvc_record_mission.共计, kvc_record_mission.结讫, kvc_record_mission.经办人 from kvc_record_mission, kvc_record_procedure, kvc_record_member where kvc_record_mission.工号=kvc_record_member.工号 and kvc_record_mission.流水号=kvc_record_procedure.流水号 and kvc_record_procedure.工序='{process}' and kvc_record_mission.结讫=0 order by kvc_record_mission.任务号
-- @piecework.time
select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, kvc_record_member.姓名, kvc_record_mission.完成时间, kvc_record_mission.完成数量, kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, kvc_record_mission.共计, kvc_record_mission.结讫, kvc_record_mission.经办人 from kvc_record_mission, kvc_record_member where kvc_record_mission.工号=kvc_record_member.工号 and kvc_record_mission.完成时间>'{lastmonth} 00:00:00' and kvc_record_mission.结讫=0 order by kvc_record_mission.任务号
-- @piecework.recorder
select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, kvc_record_member.姓名, kvc_record_mission.完成时间, kvc_record_mission.完成数量, kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, kvc_record_mission.共计, kvc_record_mission.结讫, kvc_record_mission.经办人 from kvc_record_mission, kvc_record_member where kvc_record_mission.工号=kvc_record_member.工号 and kvc_record_mission.经办人='{account}' and kvc_record_mission.结讫=0 order by kvc_record_mission.任务号
-- @piecework.totals
select kvc_record_mission.完成数量, kvc_record_mission.工价, kvc_record_mission.损耗数量, kvc_record_mission.损耗单价 from kvc_record_mission, kvc_record_member where kvc_record_mission.结讫=0 and kvc_record_mission.工号=kvc_record_member.工号

-- @settlement.unsettled
select kvc_record_mission.共计 from kvc_record_mission where kvc_record_mission.工号={member} and kvc_record_mission.完成时间>'{month}' and kvc_record_mission.完成时间<'{tomorrow}' and kvc_record_mission.结讫=0
-- @settlement.unsettled-year
select kvc_record_mission.共计 from kvc_record_mission where kvc_record_mission.工号={member} and kvc_record_mission.完成时间>'{yearago}' and kvc_record_mission.完成时间<'{tomorrow}' and kvc_record_mission.结讫=0
-- @settlement.pending
select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, kvc_record_mission.完成时间, kvc_record_mission.完成数量, kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, 				  kvc_record_mission.共计 from kvc_record_mission where kvc_record_mission.工号={member} and kvc_record_mission.结讫=0
-- @settlement.settled
select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, kvc_record_mission.完成时间, kvc_record_mission.完成数量, kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, 				  kvc_record_mission.共计 from kvc_record_mission where kvc_record_mission.工号={member} and kvc_record_mission.结讫=1
-- @settlement.history
select kvc_record_salary.序列号, kvc_record_member.姓名, kvc_record_salary.金额, kvc_record_salary.起始日期, kvc_record_salary.截止日期 from kvc_record_member, kvc_record_salary where kvc_record_member.工号=kvc_record_salary.工号 and kvc_record_salary.工号={member}
-- @settlement.settle
update kvc_record_mission set 结讫=1 where 工号={member} and 完成时间>'{month}' and 完成时间<'{tomorrow}' and 结讫=0
