// SPDX-License-Identifier: MIT
#include "platform/desktop/x11_pointer.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <string>

#include "platform/x11/xcb_owners.h"

namespace platform {
namespace {

using x11::ownedReply;
using Connection = x11::XcbConnection;

// Only an atom the server knows: a device can have the property only then.
xcb_atom_t existingAtom(xcb_connection_t* connection, const char* name) {
  auto reply = ownedReply(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// True when the device has the property as one 32-bit float.
bool hasFloatProperty(xcb_connection_t* connection, xcb_input_device_id_t device, xcb_atom_t property,
                      xcb_atom_t floatType) {
  auto reply = ownedReply(xcb_input_xi_get_property_reply(
      connection, xcb_input_xi_get_property(connection, device, 0, property, XCB_ATOM_ANY, 0, 1), nullptr));
  return reply && reply->type == floatType && reply->format == 32 && reply->num_items >= 1;
}

Result<Connection> connect() {
  Connection connection(xcb_connect(nullptr, nullptr));
  if (xcb_connection_has_error(connection.get())) return fail("cannot open the X display to set the pointer speed");
  return connection;
}

}  // namespace

CoreAcceleration coreAcceleration(double speed) {
  int numerator = static_cast<int>(std::lround(10.0 * std::exp2(1.0 + std::clamp(speed, -1.0, 1.0))));
  int divisor = std::gcd(numerator, 10);
  return {numerator / divisor, 10 / divisor};
}

Status setX11PointerSpeed(double speed) {
  auto connection = connect();
  if (!connection) return fail(connection.error());
  xcb_connection_t* c = connection->get();

  bool anyWithoutProperty = true;  // without XInput 2 only the core pointer is there
  auto version = ownedReply(xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
  const xcb_atom_t property = existingAtom(c, kLibinputAccelSpeed);
  const xcb_atom_t floatType = existingAtom(c, "FLOAT");
  if (version && version->major_version >= 2 && property != XCB_ATOM_NONE && floatType != XCB_ATOM_NONE) {
    anyWithoutProperty = false;
    auto devices =
        ownedReply(xcb_input_xi_query_device_reply(c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL), nullptr));
    if (!devices) return fail("the X server did not list its input devices");
    const float value = static_cast<float>(std::clamp(speed, -1.0, 1.0));
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices.get()); it.rem; xcb_input_xi_device_info_next(&it)) {
      if (it.data->type != XCB_INPUT_DEVICE_TYPE_SLAVE_POINTER) continue;
      if (!hasFloatProperty(c, it.data->deviceid, property, floatType)) {
        anyWithoutProperty = true;
        continue;
      }
      xcb_void_cookie_t cookie = xcb_input_xi_change_property_checked(
          c, it.data->deviceid, XCB_PROP_MODE_REPLACE, 32, property, floatType, 1, &value);
      if (auto error = ownedReply(xcb_request_check(c, cookie)))
        return fail("the X server refused the pointer speed of an input device (error " +
                    std::to_string(error->error_code) + ")");
    }
  }
  if (anyWithoutProperty) {
    CoreAcceleration acceleration = coreAcceleration(speed);
    xcb_void_cookie_t cookie = xcb_change_pointer_control_checked(
        c, static_cast<int16_t>(acceleration.numerator), static_cast<int16_t>(acceleration.denominator),
        kCoreThreshold, 1, 1);
    if (auto error = ownedReply(xcb_request_check(c, cookie)))
      return fail("the X server refused the pointer acceleration (error " + std::to_string(error->error_code) + ")");
  }
  return {};
}

Result<std::vector<std::string>> x11PointerDeviceNames() {
  auto connection = connect();
  if (!connection) return fail(connection.error());
  xcb_connection_t* c = connection->get();
  auto version = ownedReply(xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
  if (!version || version->major_version < 2) return fail("the X server has no XInput 2");
  auto devices =
      ownedReply(xcb_input_xi_query_device_reply(c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL), nullptr));
  if (!devices) return fail("the X server did not list its input devices");
  std::vector<std::string> names;
  for (auto it = xcb_input_xi_query_device_infos_iterator(devices.get()); it.rem; xcb_input_xi_device_info_next(&it)) {
    if (it.data->type != XCB_INPUT_DEVICE_TYPE_SLAVE_POINTER) continue;
    std::string name(xcb_input_xi_device_info_name(it.data), xcb_input_xi_device_info_name_length(it.data));
    if (name.find("XTEST") == std::string::npos) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace platform
