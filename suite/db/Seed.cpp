#include "suite/db/Seed.h"

#include <sqlite3.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"

namespace suitedb {

namespace {

// Texts of the generated data are written as u8 literals: the database keeps UTF-8.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Uniform helpers of our own: the standard distributions differ between libraries,
// and the same seed must give the same data everywhere.
class Random {
 public:
  explicit Random(uint64_t seed) : engine_(seed) {}
  int Between(int low, int high) {  // inclusive
    return low + static_cast<int>(engine_() % static_cast<uint64_t>(high - low + 1));
  }
  bool Chance(int percent) { return Between(1, 100) <= percent; }
  template <class T, size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<size_t>(Between(0, static_cast<int>(N) - 1))];
  }

 private:
  std::mt19937_64 engine_;
};

struct PlantRow {
  const char* Code;
  const char8_t* Name;
  const char8_t* Short;
  const char8_t* Address;
};
constexpr std::array<PlantRow, 6> kPlants = {{
    {"P01", u8"上海总厂", u8"上海厂", u8"上海市浦东新区金桥路 1201 号"},
    {"P02", u8"苏州工厂", u8"苏州厂", u8"苏州工业园区星湖街 88 号"},
    {"P03", u8"深圳工厂", u8"深圳厂", u8"深圳市宝安区福永大道 36 号"},
    {"P04", u8"天津工厂", u8"天津厂", u8"天津市滨海新区黄海路 19 号"},
    {"P05", u8"成都工厂", u8"成都厂", u8"成都市高新区天府大道 500 号"},
    {"P06", u8"武汉中心仓", u8"武汉仓", u8"武汉市东西湖区金山大道 7 号"},
}};

struct CurrencyRow {
  const char* Code;
  const char8_t* Name;
  const char8_t* Symbol;
  double Rate;
  int Share;  // percent of suppliers paid in it
};
constexpr std::array<CurrencyRow, 6> kCurrencies = {{
    {"RMB", u8"人民币", u8"￥", 1.0, 80},
    {"USD", u8"美元", u8"$", 7.12, 8},
    {"JPY", u8"日元", u8"¥", 0.048, 5},
    {"EUR", u8"欧元", u8"€", 7.80, 4},
    {"HKD", u8"港币", u8"HK$", 0.91, 3},
    {"NTD", u8"新台币", u8"NT$", 0.22, 0},
}};

constexpr std::array<const char8_t*, 16> kCities = {
    u8"上海", u8"苏州", u8"无锡", u8"宁波", u8"杭州", u8"东莞", u8"深圳", u8"佛山",
    u8"天津", u8"青岛", u8"成都", u8"重庆", u8"武汉", u8"厦门", u8"昆山", u8"常州"};
constexpr std::array<const char8_t*, 24> kBrands = {
    u8"恒达", u8"宏远", u8"鑫源",   u8"华盛", u8"永信", u8"金田", u8"瑞丰", u8"力通",
    u8"佳美", u8"天成", u8"新亚",   u8"东方", u8"联发", u8"正泰", u8"德隆", u8"富士达",
    u8"顺昌", u8"博远", u8"汇丰达", u8"嘉盛", u8"明辉", u8"广和", u8"立信", u8"百川"};
constexpr std::array<const char8_t*, 12> kTrades = {u8"五金", u8"塑胶", u8"电子", u8"包装",
                                                    u8"化工", u8"机械", u8"精密", u8"纸业",
                                                    u8"金属", u8"橡胶", u8"线缆", u8"模具"};
constexpr std::array<const char8_t*, 4> kCompanyForms = {u8"有限公司", u8"股份有限公司",
                                                         u8"实业有限公司", u8"制品厂"};
constexpr std::array<const char8_t*, 20> kSurnames = {
    u8"王", u8"李", u8"张", u8"刘", u8"陈", u8"杨", u8"黄", u8"赵", u8"周", u8"吴",
    u8"徐", u8"孙", u8"马", u8"朱", u8"胡", u8"郭", u8"何", u8"林", u8"罗", u8"高"};
constexpr std::array<const char8_t*, 20> kGivenNames = {
    u8"伟", u8"芳", u8"娜", u8"敏", u8"静", u8"磊",   u8"强",   u8"军",   u8"洋",   u8"勇",
    u8"艳", u8"杰", u8"涛", u8"明", u8"超", u8"秀英", u8"建华", u8"志强", u8"丽华", u8"海燕"};
constexpr std::array<const char*, 16> kAreaCodes = {"021",  "0512", "0510", "0574", "0571", "0769",
                                                    "0755", "0757", "022",  "0532", "028",  "023",
                                                    "027",  "0592", "0512", "0519"};

struct ItemKind {
  const char8_t* Name;
  const char8_t* Unit;
  double LowPrice;
  double HighPrice;
  bool Fractional;  // quantities with decimals
};
constexpr std::array<ItemKind, 14> kItemKinds = {{
    {u8"螺丝", u8"个", 0.05, 0.8, false},
    {u8"螺母", u8"个", 0.03, 0.5, false},
    {u8"垫片", u8"个", 0.01, 0.2, false},
    {u8"板材", u8"张", 35, 480, false},
    {u8"型材", u8"米", 12, 95, true},
    {u8"线材", u8"公斤", 8, 60, true},
    {u8"颗粒", u8"公斤", 9, 42, true},
    {u8"纸箱", u8"个", 1.2, 9.5, false},
    {u8"电阻", u8"个", 0.02, 0.3, false},
    {u8"电容", u8"个", 0.05, 1.5, false},
    {u8"轴承", u8"套", 6, 180, false},
    {u8"密封圈", u8"个", 0.3, 6, false},
    {u8"油漆", u8"桶", 80, 420, false},
    {u8"胶带", u8"卷", 2.5, 18, false},
}};
constexpr std::array<const char8_t*, 10> kMaterials = {u8"不锈钢", u8"碳钢", u8"铝合金", u8"黄铜",
                                                       u8"尼龙",   u8"ABS",  u8"PVC",    u8"瓦楞",
                                                       u8"硅胶",   u8"环保"};

struct DocType {
  const char* Code;
  int Share;
};
constexpr std::array<DocType, 3> kDocTypes = {{{"3401", 70}, {"3402", 15}, {"3403", 15}}};

constexpr int kFirstYear = 2024;
constexpr int kDays = 731;  // 2024-01-01 .. 2025-12-31

std::string Ymd(double dayNumber) {
  const platform::FormatSettings settings;
  return platform::FormatDateTime("yyyymmdd", platform::DateTime{dayNumber}, settings);
}

double Round2(double value) { return std::round(value * 100.0) / 100.0; }

int Scaled(double factor, int base, int minimum) {
  return std::max(minimum, static_cast<int>(std::lround(base * factor)));
}

void CheckFactor(double factor) {
  if (!(factor > 0 && factor <= 1000))
    throw platform::EConvertError("the size factor must be above 0 and at most 1000");
}

}  // namespace

void CreateSchema(Database& db) {
  if (db.QueryText("SELECT count(*) FROM sqlite_schema", {}).value_or("0") != "0")
    throw DbError("the database " + db.Path() + " already holds tables", SQLITE_ERROR);
  Transaction transaction(db);
  db.ExecScript(SchemaSql());
  db.ExecScript(ReferenceDataSql());
  transaction.Commit();
}

SeedCounts GenerateBusinessData(Database& db, const SeedOptions& options) {
  CheckFactor(options.Factor);
  Random random(options.Seed);
  SeedCounts counts;
  Transaction transaction(db);

  Statement plant =
      db.Prepare("INSERT INTO plant (code, name, short_name, address) VALUES (?, ?, ?, ?)");
  for (const PlantRow& p : kPlants) {
    plant.Reset();
    plant.BindAll({std::string(p.Code), U8(p.Name), U8(p.Short), U8(p.Address)}).Run();
    ++counts.Plants;
  }

  Statement currency =
      db.Prepare("INSERT INTO currency (code, name, symbol, rate) VALUES (?, ?, ?, ?)");
  for (const CurrencyRow& c : kCurrencies) {
    currency.Reset();
    currency.BindAll({std::string(c.Code), U8(c.Name), U8(c.Symbol), c.Rate}).Run();
    ++counts.Currencies;
  }

  struct Supplier {
    std::string Code;
    const CurrencyRow* Currency;
  };
  std::vector<Supplier> suppliers;
  Statement supplier = db.Prepare(
      "INSERT INTO supplier (code, short_name, full_name, contact, phone, currency) "
      "VALUES (?, ?, ?, ?, ?, ?)");
  const int supplierCount = Scaled(options.Factor, 300, 10);
  for (int i = 1; i <= supplierCount; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "S%05d", i);
    const int city = random.Between(0, static_cast<int>(kCities.size()) - 1);
    const std::string shortName = U8(random.Pick(kBrands)) + U8(random.Pick(kTrades));
    const std::string fullName =
        U8(kCities[static_cast<size_t>(city)]) + shortName + U8(random.Pick(kCompanyForms));
    const std::string contact = U8(random.Pick(kSurnames)) + U8(random.Pick(kGivenNames));
    char phone[32];
    std::snprintf(phone, sizeof phone, "%s-%08d", kAreaCodes[static_cast<size_t>(city)],
                  random.Between(20000000, 89999999));
    int roll = random.Between(1, 100);
    const CurrencyRow* paidIn = &kCurrencies[0];
    for (const CurrencyRow& c : kCurrencies) {
      if (roll <= c.Share) {
        paidIn = &c;
        break;
      }
      roll -= c.Share;
    }
    supplier.Reset();
    supplier
        .BindAll({std::string(code), shortName, fullName, contact, std::string(phone),
                  std::string(paidIn->Code)})
        .Run();
    suppliers.push_back({code, paidIn});
  }
  counts.Suppliers = supplierCount;

  struct Item {
    std::string Code;
    double Price;
    bool Fractional;
  };
  std::vector<Item> items;
  Statement item =
      db.Prepare("INSERT INTO item (code, name, model, unit, price) VALUES (?, ?, ?, ?, ?)");
  const int itemCount = Scaled(options.Factor, 200, 20);
  for (int i = 1; i <= itemCount; ++i) {
    const ItemKind& kind = random.Pick(kItemKinds);
    char code[16];
    std::snprintf(code, sizeof code, "M%05d", i);
    const double price =
        Round2(kind.LowPrice + (kind.HighPrice - kind.LowPrice) * random.Between(0, 1000) / 1000.0);
    char model[32];
    std::snprintf(model, sizeof model, "%c%d-%d", 'A' + random.Between(0, 25),
                  random.Between(1, 99), random.Between(10, 999));
    item.Reset();
    item.BindAll({std::string(code), U8(random.Pick(kMaterials)) + U8(kind.Name),
                  std::string(model), U8(kind.Unit), price})
        .Run();
    items.push_back({code, price, kind.Fractional});
  }
  counts.Items = itemCount;

  Statement head = db.Prepare(
      "INSERT INTO receipt (doc_type, doc_no, doc_date, accept_date, supplier, plant, currency, "
      "rate, approval, closing, payment_hold, po_type, po_no, remark) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  Statement line = db.Prepare(
      "INSERT INTO receipt_line (doc_type, doc_no, line_no, item_code, quantity, unit_price, "
      "amount, po_line) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
  const double firstDay = platform::EncodeDate(kFirstYear, 1, 1).Value;
  const int receiptCount = Scaled(options.Factor, 8000, 20);
  std::vector<int> perDay(kDays, 0);  // running number of a day's documents
  int poNumber = 0;
  for (int r = 0; r < receiptCount; ++r) {
    // Spread evenly over the two years, a little jitter, never out of range.
    const int day = std::clamp(
        static_cast<int>(static_cast<int64_t>(r) * kDays / receiptCount) + random.Between(-1, 1), 0,
        kDays - 1);
    const std::string docDate = Ymd(firstDay + day);
    const std::string acceptDate = Ymd(firstDay + std::min(kDays - 1, day + random.Between(0, 3)));
    const Supplier& s = suppliers[static_cast<size_t>(random.Between(0, supplierCount - 1))];
    int roll = random.Between(1, 100);
    const char* docType = kDocTypes[0].Code;
    if (s.Currency != &kCurrencies[0]) {
      docType = "3402";  // receipts paid in foreign currency are imports
    } else {
      for (const DocType& t : kDocTypes) {
        if (roll <= t.Share) {
          docType = t.Code;
          break;
        }
        roll -= t.Share;
      }
    }
    char docNo[16];
    std::snprintf(docNo, sizeof docNo, "%s%05d", docDate.substr(2).c_str(),
                  ++perDay[static_cast<size_t>(day)]);
    const int approvalRoll = random.Between(1, 100);
    const char* approval = approvalRoll <= 85 ? "Y" : approvalRoll <= 95 ? "N" : "V";
    // Older receipts are mostly closed.
    const bool old = day < kDays - 60;
    const char* closing = random.Chance(old ? 90 : 30) && approval[0] == 'Y' ? "Y" : "N";
    const char* hold = random.Chance(5) ? "Y" : "N";
    std::string poType, poNo;
    if (random.Chance(80)) {
      char po[16];
      std::snprintf(po, sizeof po, "%s%05d",
                    Ymd(firstDay + std::max(0, day - random.Between(3, 20))).substr(2).c_str(),
                    ++poNumber % 100000);
      poType = "3301";
      poNo = po;
    }
    head.Reset();
    head.BindAll({std::string(docType), std::string(docNo), docDate, acceptDate, s.Code,
                  std::string(kPlants[static_cast<size_t>(random.Between(0, 5))].Code),
                  std::string(s.Currency->Code), s.Currency->Rate, std::string(approval),
                  std::string(closing), std::string(hold), poType, poNo,
                  random.Chance(10) ? U8(u8"急件") : std::string()})
        .Run();
    ++counts.Receipts;

    const int lines = random.Between(1, 10);
    for (int l = 1; l <= lines; ++l) {
      const Item& it = items[static_cast<size_t>(random.Between(0, itemCount - 1))];
      const double quantity = it.Fractional ? random.Between(10, 50000) / 10.0
                                            : static_cast<double>(random.Between(1, 500));
      // Prices move around the list price, in the supplier's currency.
      const double price =
          std::round(it.Price * random.Between(90, 110) / 100.0 / s.Currency->Rate * 10000.0) /
          10000.0;
      line.Reset();
      line.BindAll({std::string(docType), std::string(docNo), int64_t{l}, it.Code, quantity, price,
                    Round2(quantity * price),
                    poType.empty() ? SqlValue(nullptr) : SqlValue(int64_t{l})})
          .Run();
      ++counts.ReceiptLines;
    }
  }
  transaction.Commit();
  return counts;
}

SeedCounts CreateDatabase(const std::string& path, const SeedOptions& options) {
  CheckFactor(options.Factor);
  if (platform::FileExists(path))
    throw DbError("the database file " + path + " already exists", SQLITE_CANTOPEN);
  Database db = Database::Open(path, true);
  CreateSchema(db);
  return GenerateBusinessData(db, options);
}

}  // namespace suitedb
