// SPDX-License-Identifier: MIT
#include "platform/desktop/gio_desktop.h"

#include <gio/gio.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace platform::gio {
namespace {

struct ConnectionUnref {
  void operator()(GDBusConnection* connection) const { g_object_unref(connection); }
};
struct VariantUnref {
  void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
using Connection = std::unique_ptr<GDBusConnection, ConnectionUnref>;
using Variant = std::unique_ptr<GVariant, VariantUnref>;

std::string takeMessage(GError* error) {
  std::string message = error ? error->message : "unknown error";
  if (error) g_error_free(error);
  return message;
}

Result<Connection> session() {
  GError* error = nullptr;
  Connection connection(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
  if (!connection) return fail("no session bus: " + takeMessage(error));
  return connection;
}

// One method call, waited for a few seconds at most: a service that hangs
// must not hang the pane.
Result<Variant> call(GDBusConnection* connection, const char* service, const char* path, const char* interface,
                     const char* method, GVariant* parameters, const GVariantType* reply) {
  GError* error = nullptr;
  Variant result(g_dbus_connection_call_sync(connection, service, path, interface, method, parameters, reply,
                                             G_DBUS_CALL_FLAGS_NONE, 3000, nullptr, &error));
  if (!result) return fail(std::string(service) + " " + method + ": " + takeMessage(error));
  return result;
}

Result<Variant> property(GDBusConnection* connection, const char* service, const std::string& path,
                         const char* interface, const char* name) {
  auto reply = call(connection, service, path.c_str(), "org.freedesktop.DBus.Properties", "Get",
                    g_variant_new("(ss)", interface, name), G_VARIANT_TYPE("(v)"));
  if (!reply) return fail(reply.error());
  GVariant* value = nullptr;
  g_variant_get(reply->get(), "(v)", &value);
  return Variant(value);
}

// The Exec line split by its quoting, the program and the field codes
// (%f, %U, %i and the like: no files are opened) dropped, %% made %.
std::vector<std::string> launchArguments(const char* commandLine) {
  std::vector<std::string> arguments;
  gchar** words = nullptr;
  if (!g_shell_parse_argv(commandLine, nullptr, &words, nullptr)) return arguments;
  for (gchar** word = words + 1; words[0] && *word; ++word) {
    std::string text = *word;
    if (text.size() == 2 && text[0] == '%' && text[1] != '%') continue;
    for (size_t at = text.find("%%"); at != std::string::npos; at = text.find("%%", at + 1)) text.erase(at, 1);
    arguments.push_back(text);
  }
  g_strfreev(words);
  return arguments;
}

}  // namespace

bool sessionBus() { return session().ok(); }

bool hasSchemaKey(const std::string& schema, const std::string& key) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();  // not ours; null without schemas
  if (!source) return false;
  GSettingsSchema* found = g_settings_schema_source_lookup(source, schema.c_str(), TRUE);
  if (!found) return false;
  bool has = g_settings_schema_has_key(found, key.c_str());
  g_settings_schema_unref(found);
  return has;
}

Status setDouble(const std::string& schema, const std::string& key, double value) {
  if (!hasSchemaKey(schema, key)) return fail(schema + " has no key " + key);
  GSettings* settings = g_settings_new(schema.c_str());
  bool stored = g_settings_set_double(settings, key.c_str(), value);
  g_settings_sync();
  g_object_unref(settings);
  if (!stored) return fail(schema + " " + key + " is not writable");
  return {};
}

Status setListed(const std::string& schema, const std::string& key, const std::string& text, bool listed) {
  if (!hasSchemaKey(schema, key)) return fail(schema + " has no key " + key);
  GSettings* settings = g_settings_new(schema.c_str());
  gchar** old = g_settings_get_strv(settings, key.c_str());
  std::vector<const gchar*> kept;
  bool changed = false;
  for (gchar** item = old; *item; ++item) {
    if (text == *item && !listed)
      changed = true;
    else
      kept.push_back(*item);
  }
  if (listed && std::find(kept.begin(), kept.end(), text) == kept.end()) {
    kept.push_back(text.c_str());
    changed = true;
  }
  kept.push_back(nullptr);
  bool stored = !changed || g_settings_set_strv(settings, key.c_str(), kept.data());
  g_settings_sync();
  g_strfreev(old);
  g_object_unref(settings);
  if (!stored) return fail(schema + " " + key + " is not writable");
  return {};
}

bool offers(const char* service, const char* path, const char* interface) {
  auto bus = session();
  if (!bus) return false;
  GError* error = nullptr;
  Variant reply(g_dbus_connection_call_sync(bus->get(), service, path, "org.freedesktop.DBus.Introspectable",
                                            "Introspect", nullptr, G_VARIANT_TYPE("(s)"),
                                            G_DBUS_CALL_FLAGS_NO_AUTO_START, 1000, nullptr, &error));
  if (error) g_error_free(error);
  if (!reply) return false;
  const char* xml = nullptr;
  g_variant_get(reply.get(), "(&s)", &xml);
  return std::string_view(xml).find("<interface name=\"" + std::string(interface) + "\"") != std::string_view::npos;
}

Status setXfconfAcceleration(double acceleration, const std::vector<std::string>& moreDevices) {
  auto bus = session();
  if (!bus) return fail(bus.error());
  constexpr const char* kService = "org.xfce.Xfconf";
  auto all = call(bus->get(), kService, "/org/xfce/Xfconf", kService, "GetAllProperties",
                  g_variant_new("(ss)", "pointers", "/"), G_VARIANT_TYPE("(a{sv})"));
  if (!all) return fail(all.error());
  constexpr std::string_view kSuffix = "/Acceleration";
  std::set<std::string> properties;
  for (const std::string& device : moreDevices)
    if (!device.empty()) properties.insert("/" + device + std::string(kSuffix));
  GVariantIter* iterator = nullptr;
  g_variant_get(all->get(), "(a{sv})", &iterator);
  const char* name = nullptr;
  GVariant* value = nullptr;
  while (g_variant_iter_next(iterator, "{&sv}", &name, &value)) {
    std::string property = name;
    if (property.size() > kSuffix.size() && property.ends_with(kSuffix)) properties.insert(property);
    g_variant_unref(value);
  }
  g_variant_iter_free(iterator);
  if (properties.empty()) return fail("neither xfconf's pointers channel nor the X server names a pointer device");
  for (const std::string& property : properties) {
    auto set = call(bus->get(), kService, "/org/xfce/Xfconf", kService, "SetProperty",
                    g_variant_new("(ssv)", "pointers", property.c_str(), g_variant_new_double(acceleration)), nullptr);
    if (!set) return fail(set.error());
  }
  return {};
}

Status setKWinPointerAcceleration(double speed) {
  auto bus = session();
  if (!bus) return fail(bus.error());
  constexpr const char* kService = "org.kde.KWin";
  constexpr const char* kDevice = "org.kde.KWin.InputDevice";
  auto names = property(bus->get(), kService, "/org/kde/KWin/InputDevice", "org.kde.KWin.InputDeviceManager",
                        "devicesSysNames");
  if (!names) return fail(names.error());
  gsize count = 0;
  const gchar** sysNames = g_variant_get_strv(names->get(), &count);
  Status outcome;
  bool any = false;
  for (gsize i = 0; i < count; ++i) {
    const std::string path = std::string("/org/kde/KWin/InputDevice/") + sysNames[i];
    auto pointer = property(bus->get(), kService, path, kDevice, "pointer");
    auto supports = property(bus->get(), kService, path, kDevice, "supportsPointerAcceleration");
    if (!pointer || !supports || !g_variant_get_boolean(pointer->get()) || !g_variant_get_boolean(supports->get()))
      continue;
    any = true;
    auto set = call(bus->get(), kService, path.c_str(), "org.freedesktop.DBus.Properties", "Set",
                    g_variant_new("(ssv)", kDevice, "pointerAcceleration", g_variant_new_double(speed)), nullptr);
    if (!set) outcome = fail(set.error());
  }
  g_free(sysNames);
  if (outcome.ok() && !any) return fail("KWin lists no pointer whose acceleration can be set");
  return outcome;
}

Status signalBreezeReparse() {
  auto bus = session();
  if (!bus) return fail(bus.error());
  GError* error = nullptr;
  if (!g_dbus_connection_emit_signal(bus->get(), nullptr, "/BreezeStyle", "org.kde.Breeze.Style",
                                     "reparseConfiguration", nullptr, &error))
    return fail("could not tell Breeze: " + takeMessage(error));
  g_dbus_connection_flush_sync(bus->get(), nullptr, nullptr);
  return {};
}

std::optional<DefaultApplication> defaultApplicationFor(const std::string& contentType) {
  GAppInfo* info = g_app_info_get_default_for_type(contentType.c_str(), FALSE);
  if (!info) return std::nullopt;
  DefaultApplication application;
  if (const char* id = g_app_info_get_id(info)) application.id = id;
  if (const char* executable = g_app_info_get_executable(info)) application.executable = executable;
  if (const char* line = g_app_info_get_commandline(info)) application.arguments = launchArguments(line);
  g_object_unref(info);
  if (application.executable.empty()) return std::nullopt;
  return application;
}

}  // namespace platform::gio
