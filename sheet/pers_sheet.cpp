#include "sheet/pers_sheet.h"

#include <array>

namespace tolvaro {
namespace {

struct SheetRow {
  const char* label;
  const char* field;
};

// Fixed labels, not the window's captions (which spell some differently).
constexpr std::array<SheetRow, 8> kRows = {{
    {"\xD1\xE8\xEB\xE0", "S"},                                      // Сила
    {"\xCB\xEE\xE2\xEA\xEE\xF1\xF2\xFC", "L"},                      // Ловкость
    {"\xCA\xF0\xE0\xF1\xEE\xF2\xE0", "K"},                          // Красота
    {"\xD4\xE5\xF5\xF2\xEE\xE2\xE0\xED\xE8\xE5", "M"},              // Фехтование
    {"\xD0\xF3\xEA\xEE\xEF\xE0\xF8\xED\xFB\xE9 \xE1\xEE\xE9", "R"},  // Рукопашный бой
    {"\xC1\xE5\xE3", "B"},                                          // Бег
    {"\xC1\xDD", "E"},                                              // БЭ
    {"\xD0\xDD", "RE"},                                             // РЭ
}};

constexpr const char* kCellOpen = "[td id=oknt_bt align=center]";

}  // namespace

std::vector<std::string> PersSheetLines(PersTable& table) {
  const TableField login = table.FieldByName("Login");
  const TableField name = table.FieldByName("Name");
  std::vector<TableField> rowFields;
  rowFields.reserve(kRows.size());
  for (const SheetRow& row : kRows) rowFields.push_back(table.FieldByName(row.field));
  const TableField description = table.FieldByName("D");

  std::vector<std::string> lines;
  lines.reserve(12);
  lines.push_back("[priv=" + login.AsString() + "][more=" + name.AsString() + "][table id=oknt align=center]");
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    lines.push_back(std::string("[tr]") + kCellOpen + kRows[i].label + "[/td]" + kCellOpen + rowFields[i].AsString() +
                    "[/td][/tr]");
  }
  lines.emplace_back("[/table]");
  lines.push_back(description.AsString());
  lines.emplace_back("[/more][/priv]");
  return lines;
}

}  // namespace tolvaro
