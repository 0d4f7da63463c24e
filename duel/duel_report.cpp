#include "duel/duel_report.h"

namespace tolvaro {
namespace {

constexpr const char* kSeparator = "====================";
constexpr const char* kDisarmed = " \xEE\xE1\xE5\xE7\xEE\xF0\xF3\xE6\xE5\xED";  //  обезоружен
constexpr const char* kWounded = " \xEF\xEE\xEB\xF3\xF7\xE8\xEB \xF0\xE0\xED\xE5\xED\xE8\xE5";  //  получил ранение
constexpr const char* kUnharmed =
    " \xED\xE5 \xEF\xEE\xEB\xF3\xF7\xE8\xEB \xF0\xE0\xED\xE5\xED\xE8\xE9";  //  не получил ранений
constexpr const char* kPlaceOfHit = "\xCC\xE5\xF1\xF2\xEE \xEF\xEE\xEF\xE0\xE4\xE0\xED\xE8\xFF: ";  // Место попадания:
constexpr const char* kGravity = "\xD2\xFF\xE6\xE5\xF1\xF2\xFC \xF0\xE0\xED\xE5\xED\xE8\xFF: ";  // Тяжесть ранения:

const char* LocationText(HitLocation location) {
  switch (location) {
    case HitLocation::Body: return "\xEA\xEE\xF0\xEF\xF3\xF1";                     // корпус
    case HitLocation::RightArm: return "\xEF\xF0\xE0\xE2\xE0\xFF \xF0\xF3\xEA\xE0";  // правая рука
    case HitLocation::LeftArm: return "\xEB\xE5\xE2\xE0\xFF \xF0\xF3\xEA\xE0";       // левая рука
    case HitLocation::RightLeg: return "\xEF\xF0\xE0\xE2\xE0\xFF \xED\xEE\xE3\xE0";  // правая нога
    case HitLocation::LeftLeg: return "\xEB\xE5\xE2\xE0\xFF \xED\xEE\xE3\xE0";       // левая нога
    case HitLocation::Head: return "\xE3\xEE\xEB\xEE\xE2\xE0";                     // голова
  }
  return "";
}

// Disarmed has no grade text: it never reaches the gravity line.
const char* GradeText(WoundGrade grade) {
  switch (grade) {
    case WoundGrade::Light: return "\xEB\xB8\xE3\xEA\xEE\xE5";              // лёгкое
    case WoundGrade::Heavy: return "\xF2\xFF\xE6\xE5\xEB\xEE\xE5";          // тяжелое
    case WoundGrade::Fatal: return "\xF4\xE0\xF2\xE0\xEB\xFC\xED\xEE\xE5";  // фатальное
    case WoundGrade::Disarmed: break;
  }
  return "";
}

void AppendBlock(std::vector<std::string>& lines, std::string_view name, const Wound& wound) {
  const std::string who(name);
  if (wound.Grade == WoundGrade::Disarmed) {
    lines.push_back(who + kDisarmed);
  } else if (wound.Landed) {
    lines.push_back(who + kWounded);
    lines.push_back(std::string(kPlaceOfHit) + LocationText(wound.Location));
    lines.push_back(std::string(kGravity) + GradeText(wound.Grade));
  } else {
    lines.push_back(who + kUnharmed);
  }
}

}  // namespace

std::vector<std::string> DuelReport(const DuelOutcome& outcome, std::string_view name1, std::string_view name2) {
  std::vector<std::string> lines;
  lines.emplace_back(kSeparator);
  AppendBlock(lines, name2, outcome.Wound2);
  lines.emplace_back(kSeparator);
  AppendBlock(lines, name1, outcome.Wound1);
  lines.emplace_back(kSeparator);
  return lines;
}

}  // namespace tolvaro
