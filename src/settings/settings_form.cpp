#include "settings/settings_form.h"

#include "settings/field_checks.h"

namespace animark {

namespace {

std::int32_t RadioPosition(std::int32_t value, int buttons) {
  return value >= 0 && value < buttons ? value : -1;
}

// One exchange in the taking direction: each Take returns false, with the refusal kept, when
// the field fails, and the caller stops there.
class FormTaker {
 public:
  explicit FormTaker(const DateTimeText& dates) : dates_(dates) {}

  bool Text(FormField field, const std::string& text, std::string& value) {
    value = text;
    return Check(field, CheckLength(text, RowOf(field).textLimit));
  }

  bool Integer(FormField field, const std::string& text, std::int32_t& value) {
    const auto parsed = ParseIntegerText(text);
    if (!parsed) return Refuse(field, kNotAnIntegerMessage);
    value = *parsed;
    return Check(field, CheckRange(value, RowOf(field).range));
  }

  bool Period(FormField field, const std::string& text, DateTime& value) {
    value = dates_.Parse(text);
    return value.IsValid() || Refuse(field, kNotADateMessage);
  }

  std::optional<FormRefusal> Refusal() const { return refusal_; }

 private:
  bool Check(FormField field, std::optional<std::string> message) {
    return !message || Refuse(field, std::move(*message));
  }
  bool Refuse(FormField field, std::string message) {
    refusal_ = FormRefusal{field, std::move(message)};
    return false;
  }

  const DateTimeText& dates_;
  std::optional<FormRefusal> refusal_;
};

}  // namespace

FormFields FillForm(const ExportSettings& settings, const DateTimeText& dates) {
  FormFields form;
  form.comments = settings.comments;
  form.dataDirectory = settings.dataDirectory;
  form.exportFile = settings.exportFile;
  form.iterations = std::to_string(settings.iterations);
  form.mapFiles = settings.mapFiles;
  form.persistenceMinutes = std::to_string(settings.persistenceMinutes);
  form.rateMinutesPerSecond = std::to_string(settings.rateMinutesPerSecond);
  form.zoomRange = RadioPosition(settings.zoomRange, kRangeCount);
  form.periodStart = dates.Format(settings.periodStart);
  form.periodEnd = dates.Format(settings.periodEnd);
  form.pauseBetweenFrames = std::to_string(settings.pauseBetweenFrames);
  form.pauseAfterLastFrame = std::to_string(settings.pauseAfterLastFrame);
  for (int range = 0; range < kRangeCount; ++range) {
    form.ringCounts[range] = std::to_string(settings.ringCounts[range]);
  }
  form.crosshairs = settings.crosshairs == 1;
  form.labelRings = settings.labelRings == 1;
  form.units = RadioPosition(settings.units, 2);
  return form;
}

std::optional<FormRefusal> TakeForm(const FormFields& form, const DateTimeText& dates,
                                    ExportSettings& settings) {
  FormTaker take(dates);
  ExportSettings& s = settings;
  const bool passed = [&] {
    if (!take.Text(FormField::Comments, form.comments, s.comments)) return false;
    if (!take.Text(FormField::DataDirectory, form.dataDirectory, s.dataDirectory)) return false;
    if (!take.Text(FormField::ExportFile, form.exportFile, s.exportFile)) return false;
    if (!take.Integer(FormField::Iterations, form.iterations, s.iterations)) return false;
    for (int range = 0; range < kRangeCount; ++range) {
      if (!take.Text(MapFileField(range), form.mapFiles[range], s.mapFiles[range])) return false;
    }
    if (!take.Integer(FormField::PersistenceMinutes, form.persistenceMinutes, s.persistenceMinutes))
      return false;
    if (!take.Integer(FormField::RateMinutesPerSecond, form.rateMinutesPerSecond,
                      s.rateMinutesPerSecond))
      return false;
    s.zoomRange = form.zoomRange;
    if (!take.Period(FormField::PeriodStart, form.periodStart, s.periodStart)) return false;
    if (!take.Period(FormField::PeriodEnd, form.periodEnd, s.periodEnd)) return false;
    if (!take.Integer(FormField::PauseBetweenFrames, form.pauseBetweenFrames, s.pauseBetweenFrames))
      return false;
    if (!take.Integer(FormField::PauseAfterLastFrame, form.pauseAfterLastFrame,
                      s.pauseAfterLastFrame))
      return false;
    for (int range = 0; range < kRangeCount; ++range) {
      if (!take.Integer(RingCountField(range), form.ringCounts[range], s.ringCounts[range]))
        return false;
    }
    s.crosshairs = form.crosshairs ? 1 : 0;
    s.labelRings = form.labelRings ? 1 : 0;
    s.units = form.units;
    return true;
  }();
  return passed ? std::nullopt : take.Refusal();
}

}  // namespace animark
