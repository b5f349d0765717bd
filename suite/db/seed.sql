-- Reference data every installation starts with. The generated business
-- data (plants, currencies, suppliers, items, receipts) come from the seed
-- generator.

INSERT INTO company (company_id, name, db_name) VALUES
  ('VRK', '维瑞克示范股份有限公司', 'VRKDEMO'),
  ('VRK2', '维瑞克苏州分公司', 'VRKSZ');

INSERT INTO sys_setting (company_id, name, value, note) VALUES
  ('*', 'Sys001', '1', '日期格式：1 YYYYMMDD，2 MMDDYYYY，3 DDMMYYYY，4 民国年 YYMMDD，5 民国年 YYYMMDD'),
  ('*', 'Sys002', '/', '日期分隔符'),
  ('*', 'Sys003', '2', '金额小数位数'),
  ('*', 'Sys004', '4', '单价小数位数'),
  ('*', 'Sys005', '3', '数量小数位数'),
  ('*', 'Sys006', 'RMB', '本位币'),
  ('*', 'VRK002', '', '窗口标题附注'),
  ('*', 'SYS007', '商品大类', '商品分类方式一'),
  ('*', 'SYS008', '商品中类', '商品分类方式二'),
  ('*', 'SYS009', '商品小类', '商品分类方式三'),
  ('*', 'SYS010', '', '商品分类方式四（空白时用默认名称）'),
  ('*', 'SYS026', '1', '年份形式：2 只用公历'),
  ('*', 'SYS181', 'Y', '提供网页报表'),
  ('VRK', 'VRK002', '（示范账套）', '窗口标题附注'),
  ('VRK', 'SYS026', '2', '年份形式：2 只用公历'),
  ('VRK2', 'Sys001', '4', '日期格式'),
  ('VRK2', 'Sys002', '.', '日期分隔符'),
  ('VRK2', 'SYS181', 'N', '提供网页报表');

INSERT INTO message (msg_type, msg_number, text) VALUES
  ('E', '000001', '%s不存在，请重新输入！'),
  ('E', '000005', '日期或时间格式不正确！%s'),
  ('E', '000006', '无法连接应用服务器，程序即将关闭。%s'),
  ('E', '000013', '作业提交失败！原因：%s'),
  ('E', '000015', '读取系统注册信息失败，请检查安装是否完整。%s'),
  ('E', '000016', '没有设置应用服务器的地址，请检查客户端设置。%s'),
  ('E', '000030', '生成条件信息时发生错误！%s'),
  ('E', '000036', '程序模块与窗口不符，无法执行。%s'),
  ('E', '000037', '必须输入的字段不可空白！%s'),
  ('E', '000038', '主程序传入的参数不完整，程序即将关闭。%s'),
  ('E', '100082', '%s不可早于%s！'),
  ('I', '000003', '没有可以提交的环境设置。%s'),
  ('I', '000004', '作业已提交，作业编号：%s'),
  ('I', '000005', '请至少选择一种报表生成方式。%s'),
  ('I', '000008', '输入的代码'),
  ('I', '000009', '请检查指定的生成日期'),
  ('I', '000010', '以及时、分、秒是否正确。'),
  ('I', '000011', '请检查条件的设置。'),
  ('W', '000002', '%s的数量不符：应为 %s 项，实际为 %s 项。'),
  ('W', '000003', '%s共有 %s 项，其中第 %s 项没有内容。'),
  ('W', '000004', '%s不存在！'),
  ('W', '000014', '主程序传入的预设条件无法套用，请检查。%s'),
  ('R', '100235', '页脚编号'),
  ('R', '100236', '签核编号'),
  ('R', '200235', '方案中的条件无法全部还原，部分条件可能没有载入。');

INSERT INTO program (code, name, name_en, kind, module, log_flag, no_direct_query,
                     server_class, version) VALUES
  ('PVQR82', '进货单明细表', 'Goods Receipt List', 'R', 'PVQ', 'Y', 'N', 'PVQR82S.Class1', '8.2'),
  ('PVQR81', '进货单汇总表', 'Goods Receipt Summary', 'R', 'PVQ', 'N', 'Y', 'PVQR81S.Class1', '8.2'),
  ('PURR01', '采购单明细表', 'Purchase Order List', 'R', 'PUR', 'N', 'N', 'PURR01S.Class1', '8.2'),
  ('ASTB10', '进货单批次过账', 'Receipt Posting Batch', 'B', 'AST', 'Y', 'Y', 'ASTB10S.Class1', '8.2');

INSERT INTO app_user (user_id, name, mobile, mail, group_id) VALUES
  ('DS', '系统管理员', '13800000000', 'admin@vrk.example', 'ADMIN'),
  ('U001', '张伟', '13911112222', 'zhangwei@vrk.example', 'PUR'),
  ('U002', '王芳', '13922223333', 'wangfang@vrk.example', 'PUR'),
  ('U003', '李娜', '13933334444', 'lina@vrk.example', 'WH'),
  ('U004', '刘洋', '', 'liuyang@vrk.example', 'WH'),
  ('U005', '陈静', '13955556666', '', 'ACC'),
  ('U006', '杨磊', '13966667777', 'yanglei@vrk.example', 'ACC'),
  ('U007', '赵敏', '', '', 'PUR');

-- Rights texts: eight Y/N flags; position 8 shows prices and amounts.
INSERT INTO user_right (user_id, program_code, rights) VALUES
  ('DS', '*', 'YYYYYYYY'),
  ('U001', '*', 'YYYYYYYY'),
  ('U002', '*', 'YYYYYYNN'),
  ('U002', 'PVQR82', 'YYYYYYYN'),
  ('U003', '*', 'YNNNYYNN'),
  ('U004', '*', 'YNNNYY'),
  ('U005', '*', 'YYYYYYYY'),
  ('U006', '*', 'YYYYYYYY');

INSERT INTO user_limit (user_id, seq, limit_group, entry) VALUES
  ('U003', 1, 'WH01', 'CMSMB=P01,P02'),
  ('U003', 2, 'WH01', 'CMSMF=RMB'),
  ('U004', 1, 'WH02', 'CMSMB=P03');

INSERT INTO VRKINTMA (MA001, MA002, MA003) VALUES
  ('StartupPortal', '启用门户（Y/N）', 'N'),
  ('Portal WS', '门户网页服务地址', ''),
  ('MailServer', '邮件服务器', 'mail.vrk.example');

INSERT INTO report_block (block_kind, block_id, name, line1, line2, line3) VALUES
  ('1', 'N01', '标准页脚', '本报表仅供内部使用', '如有疑问请联系采购部', ''),
  ('1', 'N02', '财务页脚', '金额单位：元', '数据截至打印日', '财务部制'),
  ('1', 'N03', '空白页脚', '', '', ''),
  ('2', 'S01', '三级签核', '制表：', '审核：', '核准：'),
  ('2', 'S02', '两级签核', '经办：', '主管：', ''),
  ('2', 'S03', '仓库签核', '收货员：', '仓库主管：', '质检：');

INSERT INTO report_setting (program_code, note_id, note_pickable, note_every_page, note1,
                            note2, note3, sign_id, sign_pickable, sign_every_page, sign1,
                            sign2, sign3) VALUES
  ('PVQR82', 'N01', 'Y', 'N', '本报表仅供内部使用', '如有疑问请联系采购部', '',
   'S01', 'Y', 'Y', '制表：', '审核：', '核准：'),
  ('PVQR81', 'N02', 'N', 'Y', '金额单位：元', '数据截至打印日', '财务部制',
   'S02', 'N', 'N', '经办：', '主管：', '');

INSERT INTO web_site (site_id, url, description, active) VALUES
  ('MAIN', 'http://127.0.0.1:8080/VrkWebReport', '网页报表主站点', 'Y');
