#include "roster/pers_roster.h"

#include "roster/pers_formulas.h"
#include "roster/pers_record.h"

namespace tolvaro {
namespace {

constexpr PersField kHookedFields[] = {kS, kL, kK, kM, kR, kB};

std::int32_t ReadStat(PersTable& table, PersField field) {
  return static_cast<std::int32_t>(table.Field(field).AsFloat());
}

}  // namespace

PersRoster::PersRoster(PersTable& pers) : pers_(pers) {
  for (PersField field : kHookedFields) {
    pers_.SetOnChange(field, [this](TableField) { PersFieldChange(); });
  }
}

PersRoster::~PersRoster() {
  for (PersField field : kHookedFields) pers_.SetOnChange(field, nullptr);
}

void PersRoster::NewPers() {
  {
    SuppressRecalcScope quiet(*this);
    if (!pers_.IsOpen()) pers_.Open();
    pers_.Insert();
    for (PersField field : {kS, kL, kK}) pers_.Field(field).SetAsFloat(1.0);
    for (PersField field : {kM, kR, kB}) pers_.Field(field).SetAsFloat(100.0);
  }
  PersFieldChange();
  pers_.Post();
}

void PersRoster::DeletePers() {
  if (pers_.RecordCount() > 0) pers_.Delete();
}

void PersRoster::PersFieldChange() {
  if (suppressRecalc_) return;
  PersStats stats;
  stats.S = ReadStat(pers_, kS);
  stats.L = ReadStat(pers_, kL);
  stats.K = ReadStat(pers_, kK);
  stats.M = ReadStat(pers_, kM);
  stats.R = ReadStat(pers_, kR);
  stats.B = ReadStat(pers_, kB);
  pers_.Field(kE).SetAsFloat(CalcE(stats));
  pers_.Field(kRE).SetAsFloat(CalcRE(stats));
  pers_.Field(kC).SetAsFloat(CalcC(stats));
}

}  // namespace tolvaro
