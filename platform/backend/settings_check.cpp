// The table of the platform's settings (see settings_check.h).
#include "backend/settings_check.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "backend/backend.h"
#include "backend/zoom.h"
#include "display/display.h"
#include "gps/gps_config.h"
#include "kernel/bad_setting.h"
#include "messaging/messaging_config.h"
#include "storage/device_root.h"

namespace pda::backend {
namespace {

using Problem = std::optional<std::string>;

struct SettingRule {
  std::string_view name;
  std::string_view expected;
  Problem (*problem)(const char* value);  // why the value (null: unset) cannot be used
};

Problem Display(const char* value) {
  if (!value || !*value || FindBackend(value)) return std::nullopt;
  return "not a display";
}

Problem Zoom(const char* value) {
  if (!value || !*value || ParseZoom(value)) return std::nullopt;
  return "not a zoom";
}

Problem Screen(const char* value) {
  if (!value || !*value || display::ParseScreenMode(value)) return std::nullopt;
  return "not a screen";
}

Problem Trace(const char* value) {
  if (!value || !*value || std::strcmp(value, "0") == 0 || std::strcmp(value, "1") == 0)
    return std::nullopt;
  return "neither on nor off";
}

Problem Compose(const char* value) {
  if (messaging::ParseComposeMode(value)) return std::nullopt;
  return "not a way of sending";
}

// The device root is made here, so that a root that cannot be made is refused before the start.
Problem Root(const char*) { return DeviceRootProblem(); }

// The device root comes last: it is made when it can be, and only once the others are good.
constexpr SettingRule kRules[] = {
    {"PDA_DISPLAY", "sdl | headless", Display},
    {"PDA_ZOOM", kZoomForm, Zoom},
    {"PDA_SCREEN", display::kScreenModeForm, Screen},
    {"PDA_TRACE_STARTUP", "1 (report the first full present) | 0", Trace},
    {"PDA_GPS", gps::kGpsConfigForm, gps::GpsSettingProblem},
    {"PDA_MESSAGE_STORES", messaging::kMessageStoresForm, messaging::MessageStoresProblem},
    {"PDA_COMPOSE", messaging::kComposeModeForm, Compose},
    {"PDA_ROOT", kDeviceRootForm, Root},
};

}  // namespace

std::optional<std::string> SettingRefusal(std::string_view name, const char* value) {
  for (const SettingRule& rule : kRules) {
    if (rule.name != name) continue;
    const Problem why = rule.problem(value);
    if (!why) return std::nullopt;
    return BadSettingLine(rule.name, value, *why, rule.expected);
  }
  return BadSettingLine(name, value, "not a setting of the platform", "one of the PDA_* settings");
}

std::string_view SettingForms(std::string_view name) {
  for (const SettingRule& rule : kRules)
    if (rule.name == name) return rule.expected;
  return {};
}

bool CheckSettings() {
  for (const SettingRule& rule : kRules) {
    const std::string name(rule.name);
    if (const auto line = SettingRefusal(name, std::getenv(name.c_str()))) {
      std::fprintf(stderr, "%s\n", line->c_str());
      return false;
    }
  }
  return true;
}

}  // namespace pda::backend
