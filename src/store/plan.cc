// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/plan.h"

#include <map>
#include <set>

#include "store/dots.h"

ListedFormat as_added(const FormatSettings& settings) {
  ListedFormat held;
  held.name = settings.format_name;
  held.media_name = settings.media_name;
  held.width_mm = static_cast<uint64_t>(settings.width_mm);
  held.height_mm = settings.height_mm;
  held.across_dots = across_dots(settings);
  held.complete = true;
  return held;
}

bool same_format(const ListedFormat& held, const FormatSettings& wanted,
                 bool by_request) {
  bool same_dots = held.across_dots == across_dots(wanted);
  return held.name == wanted.format_name &&
      held.width_mm == static_cast<uint64_t>(wanted.width_mm) &&
      held.height_mm == wanted.height_mm &&
      held.media_name == wanted.media_name &&
      (by_request ? !held.across_dots || same_dots
                  : held.complete && same_dots);
}

std::vector<bool> first_of_names(const std::vector<ListedFormat>& formats) {
  std::vector<bool> first(formats.size(), false);
  std::set<std::string> seen;
  for (size_t i = 0; i < formats.size(); ++i)
    first[i] = seen.insert(formats[i].name).second;
  return first;
}

std::vector<Step> plan_steps(const std::vector<ListedFormat>& held,
                             const std::vector<FormatSettings>& wanted,
                             bool sync, const FormatSettings& model) {
  std::map<std::string, const FormatSettings*> wanted_by_name;
  for (const FormatSettings& format : wanted)
    wanted_by_name.emplace(format.format_name, &format);
  std::vector<bool> first = first_of_names(held);
  std::map<std::string, const ListedFormat*> first_by_name;
  std::vector<Step> steps;
  for (size_t i = 0; i < held.size(); ++i) {
    bool wanted_name = wanted_by_name.count(held[i].name) != 0;
    if (first[i] && wanted_name) {
      first_by_name[held[i].name] = &held[i];
    } else if (sync) {
      Step step{ Step::kDelete, model, held[i].id };
      step.format.format_name = held[i].name;
      steps.push_back(step);
    }
  }
  for (const FormatSettings& format : wanted) {
    auto there = first_by_name.find(format.format_name);
    if (there == first_by_name.end())
      steps.push_back({ Step::kAdd, format, "" });
    else if (!same_format(*there->second, format))
      steps.push_back({ Step::kReplace, format, "" });
  }
  return steps;
}
