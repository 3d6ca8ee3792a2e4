-- The Merrow database: eight tables. Money columns hold whole 1/10000 yuan,
-- dates hold yyyy-MM-dd text, yes/no columns hold 0 or 1.
-- Statements are separated by lines holding only ";".

CREATE TABLE 客户信息 (
    客户编号 INTEGER PRIMARY KEY,
    客户名称 TEXT,
    地址 TEXT,
    电话 TEXT,
    手机 TEXT,
    身份证号 TEXT,
    出生年 TEXT,
    起用日期 DATE,
    备注 TEXT
)
;
CREATE INDEX 客户信息_客户名称 ON 客户信息 (客户名称)
;
CREATE INDEX 客户信息_电话 ON 客户信息 (电话)
;
CREATE INDEX 客户信息_手机 ON 客户信息 (手机)
;
CREATE INDEX 客户信息_地址 ON 客户信息 (地址)
;
-- Two-character pieces of customer names, lower-cased as like folds them: a name searched
-- by two characters has no trigram. Kept in step by the triggers below; json_each over an
-- array of length - 1 zeros walks the positions (a trigger cannot use a recursive WITH).
CREATE TABLE IF NOT EXISTS 客户信息_二字 (
    片 TEXT NOT NULL,
    客户编号 INTEGER NOT NULL,
    PRIMARY KEY (片, 客户编号)
) WITHOUT ROWID
;
CREATE TRIGGER 客户信息_二字_新增 AFTER INSERT ON 客户信息 BEGIN
    insert or ignore into 客户信息_二字 (片, 客户编号) select 片, new.客户编号 from (
        select distinct lower(substr(new.客户名称, key + 1, 2)) as 片
        from json_each('[' || rtrim(replace(hex(zeroblob(length(new.客户名称) - 1)), '00', '0,'), ',') || ']'));
END
;
CREATE TRIGGER 客户信息_二字_删除 AFTER DELETE ON 客户信息 BEGIN
    delete from 客户信息_二字 where 客户编号 = old.客户编号 and 片 in (
        select distinct lower(substr(old.客户名称, key + 1, 2)) as 片
        from json_each('[' || rtrim(replace(hex(zeroblob(length(old.客户名称) - 1)), '00', '0,'), ',') || ']'));
END
;
CREATE TRIGGER 客户信息_二字_修改 AFTER UPDATE OF 客户编号, 客户名称 ON 客户信息 BEGIN
    delete from 客户信息_二字 where 客户编号 = old.客户编号 and 片 in (
        select distinct lower(substr(old.客户名称, key + 1, 2)) as 片
        from json_each('[' || rtrim(replace(hex(zeroblob(length(old.客户名称) - 1)), '00', '0,'), ',') || ']'));
    insert or ignore into 客户信息_二字 (片, 客户编号) select 片, new.客户编号 from (
        select distinct lower(substr(new.客户名称, key + 1, 2)) as 片
        from json_each('[' || rtrim(replace(hex(zeroblob(length(new.客户名称) - 1)), '00', '0,'), ',') || ']'));
END
;
CREATE TABLE dinggou (
    id INTEGER PRIMARY KEY,
    客户编号 INTEGER,
    客户名称 TEXT,
    地址 TEXT,
    电话 TEXT,
    手机 TEXT,
    身份证号 TEXT,
    出生年 TEXT,
    订购型号 TEXT,
    主机序列号 TEXT,
    价格 BIGINT NOT NULL DEFAULT 0,
    利润 BIGINT NOT NULL DEFAULT 0,
    客服人员 TEXT,
    发票 SMALLINT NOT NULL DEFAULT 0,
    发票号码 TEXT,
    备注 TEXT,
    日期 DATE,
    经手人 TEXT
)
;
CREATE INDEX dinggou_客户编号 ON dinggou (客户编号)
;
-- Date ranges with an address part: the address is in the index, so counting a period
-- reads no table rows.
CREATE INDEX dinggou_日期_地址 ON dinggou (日期, 地址)
;
-- The correction list orders every sale by customer name.
CREATE INDEX dinggou_客户名称 ON dinggou (客户名称)
;
CREATE TABLE 维修记录 (
    id INTEGER PRIMARY KEY,
    客户编号 INTEGER,
    客户名称 TEXT,
    地址 TEXT,
    电话 TEXT,
    手机 TEXT,
    身份证号 TEXT,
    出生年 TEXT,
    主机序列号 TEXT,
    维修项目 TEXT,
    维修费 BIGINT NOT NULL DEFAULT 0,
    利润 BIGINT NOT NULL DEFAULT 0,
    发票 SMALLINT NOT NULL DEFAULT 0,
    发票号码 TEXT,
    备注 TEXT,
    日期 DATE,
    经手人 TEXT
)
;
CREATE INDEX 维修记录_客户编号 ON 维修记录 (客户编号)
;
CREATE INDEX 维修记录_日期_地址 ON 维修记录 (日期, 地址)
;
CREATE INDEX 维修记录_客户名称 ON 维修记录 (客户名称)
;
CREATE TABLE 帐款明细 (
    id TEXT PRIMARY KEY,
    客户编号 INTEGER,
    客户名称 TEXT,
    地址 TEXT,
    电话 TEXT,
    手机 TEXT,
    主机序列号 TEXT,
    应付金额 BIGINT NOT NULL DEFAULT 0,
    付款情况 TEXT,
    发票 SMALLINT NOT NULL DEFAULT 0,
    发票号码 TEXT,
    备注 TEXT,
    日期 DATE,
    经手人 TEXT
)
;
CREATE INDEX 帐款明细_客户编号 ON 帐款明细 (客户编号)
;
CREATE INDEX 帐款明细_日期_地址 ON 帐款明细 (日期, 地址)
;
CREATE INDEX 帐款明细_付款情况 ON 帐款明细 (付款情况, 日期)
;
-- The debt list: rows with an amount by state and customer name, equal names in rowid order as
-- the list shows them, so the list is read, counted and skipped through in the index alone.
CREATE INDEX 帐款明细_付款情况_客户名称_有金额 ON 帐款明细 (付款情况, 客户名称) WHERE 应付金额 <> 0
;
-- Its total: the amounts summed in the index, not row by row in name order.
CREATE INDEX 帐款明细_付款情况_应付金额 ON 帐款明细 (付款情况, 应付金额) WHERE 应付金额 <> 0
;
CREATE TABLE 收款记录 (
    客户编号 INTEGER,
    客户名称 TEXT,
    地址 TEXT,
    电话 TEXT,
    手机 TEXT,
    主机序列号 TEXT,
    金额 BIGINT NOT NULL DEFAULT 0,
    日期 DATE,
    经手人 TEXT
)
;
CREATE INDEX 收款记录_客户编号 ON 收款记录 (客户编号)
;
CREATE INDEX 收款记录_日期 ON 收款记录 (日期)
;
CREATE TABLE 操作员 (
    操作员 TEXT NOT NULL,
    姓名 TEXT,
    密码 TEXT,
    "1" SMALLINT NOT NULL DEFAULT 0,
    "2" SMALLINT NOT NULL DEFAULT 0,
    "3" SMALLINT NOT NULL DEFAULT 0,
    "4" SMALLINT NOT NULL DEFAULT 0,
    "5" SMALLINT NOT NULL DEFAULT 0,
    "6" SMALLINT NOT NULL DEFAULT 0,
    "7" SMALLINT NOT NULL DEFAULT 0,
    "8" SMALLINT NOT NULL DEFAULT 0,
    "9" SMALLINT NOT NULL DEFAULT 0,
    "10" SMALLINT NOT NULL DEFAULT 0,
    "11" SMALLINT NOT NULL DEFAULT 0,
    "12" SMALLINT NOT NULL DEFAULT 0,
    "13" SMALLINT NOT NULL DEFAULT 0,
    "14" SMALLINT NOT NULL DEFAULT 0,
    "15" SMALLINT NOT NULL DEFAULT 0,
    "16" SMALLINT NOT NULL DEFAULT 0,
    "17" SMALLINT NOT NULL DEFAULT 0
)
;
-- Operator numbers are unique ignoring the letter case of A-Z.
CREATE UNIQUE INDEX 操作员_操作员 ON 操作员 (lower(操作员))
;
CREATE TABLE 乡镇 (
    乡镇 TEXT,
    村庄 TEXT
)
;
CREATE INDEX 乡镇_乡镇 ON 乡镇 (乡镇)
;
CREATE TABLE 维修项目 (
    维修项目 TEXT
)
