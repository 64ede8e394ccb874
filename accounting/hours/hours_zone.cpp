#include "accounting/hours/hours_zone.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
constexpr int kMostBiasMinutes = 1440;

std::string changeText(const rt::ZoneChange& change) {
  return std::to_string(change.month) + "." + std::to_string(change.weekday) + "." + std::to_string(change.week) + "." +
         std::to_string(change.day) + "." + std::to_string(change.hour) + "." + std::to_string(change.minute);
}

// The parts of `text` split at `separator`.
std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t at = 0;;) {
    const std::size_t end = std::min(text.find(separator, at), text.size());
    parts.push_back(text.substr(at, end - at));
    if (end == text.size())
      return parts;
    at = end + 1;
  }
}

// `count` whole numbers of no more than a day's minutes either way, split at `separator`;
// false when the text holds anything else.
bool readNumbers(std::string_view text, char separator, std::size_t count, std::vector<int>& numbers) {
  numbers.clear();
  for (const std::string_view part : split(text, separator)) {
    const std::string digits(part);
    char* stop = nullptr;
    const long number = std::strtol(digits.c_str(), &stop, 10);
    if (digits.empty() || *stop != '\0' || number < -kMostBiasMinutes || number > kMostBiasMinutes)
      return false;
    numbers.push_back(static_cast<int>(number));
  }
  return numbers.size() == count;
}

bool readChange(std::string_view text, rt::ZoneChange& change) {
  std::vector<int> parts;
  if (!readNumbers(text, '.', 6, parts))
    return false;
  change = {parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
  if (change.month == 0)
    return change == rt::ZoneChange{};
  // A day of a week of the month, or a day of the month: one of the two.
  const bool byWeek = change.week >= 1 && change.week <= 5 && change.day == 0;
  const bool byDay = change.week == 0 && change.day >= 1 && change.day <= 31;
  return change.month <= 12 && change.weekday >= 0 && change.weekday <= 6 && (byWeek || byDay) && change.hour >= 0 &&
         change.hour <= 23 && change.minute >= 0 && change.minute <= 59;
}

std::string offsetText(int biasMinutes) {
  const int ahead = -biasMinutes;
  char text[16];
  std::snprintf(text, sizeof text, "UTC%c%02d:%02d", ahead < 0 ? '-' : '+', std::abs(ahead) / 60, std::abs(ahead) % 60);
  return text;
}
}  // namespace

std::string zoneStorageText(const rt::ZoneRule& zone) {
  return std::to_string(zone.bias) + " " + std::to_string(zone.standardBias) + " " + std::to_string(zone.daylightBias) +
         " " + changeText(zone.standardStart) + " " + changeText(zone.daylightStart);
}

bool readZoneText(std::string_view text, rt::ZoneRule& zone) {
  // The three biases and the two changes.
  const std::vector<std::string_view> words = split(text, ' ');
  std::vector<int> biases(3);
  rt::ZoneRule read;
  for (std::size_t i = 0; i < words.size() && i < biases.size(); ++i) {
    std::vector<int> one;
    if (!readNumbers(words[i], ' ', 1, one))
      return false;
    biases[i] = one[0];
  }
  if (words.size() != 5 || !readChange(words[3], read.standardStart) || !readChange(words[4], read.daylightStart) ||
      (read.standardStart.month == 0) != (read.daylightStart.month == 0))
    return false;
  read.bias = biases[0];
  read.standardBias = biases[1];
  read.daylightBias = biases[2];
  if (zoneStorageText(read) != text)
    return false;
  zone = read;
  return true;
}

std::string zoneText(const rt::ZoneRule& zone) {
  const std::string standard = offsetText(zone.bias + zone.standardBias);
  if (zone.daylightStart.month == 0 || zone.daylightBias == zone.standardBias)
    return standard;
  return standard + ", " + offsetText(zone.bias + zone.daylightBias) + " in summer time";
}

Moment zoneMoment(const rt::ZoneRule& zone) {
  const rt::LocalTime now = rt::zoneTime(zone, rt::universalNow());
  return {now.year * 10000 + now.month * 100 + now.day, now.weekday + 1, now.hour * 60 + now.minute};
}
