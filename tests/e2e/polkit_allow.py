#!/usr/bin/env python3
"""Answers polkit's CheckAuthorization on a private system bus as polkit does for a user in a
desktop's active session, for RealtimeKit: its actions are allowed, any other is not. Touches
a file once it owns the name.
  polkit_allow.py <bus address> <ready file>"""
import sys

from gi.repository import Gio, GLib

INTERFACE = """
<node>
  <interface name="org.freedesktop.PolicyKit1.Authority">
    <method name="CheckAuthorization">
      <arg type="(sa{sv})" name="subject" direction="in"/>
      <arg type="s" name="action_id" direction="in"/>
      <arg type="a{ss}" name="details" direction="in"/>
      <arg type="u" name="flags" direction="in"/>
      <arg type="s" name="cancellation_id" direction="in"/>
      <arg type="(bba{ss})" name="result" direction="out"/>
    </method>
  </interface>
</node>"""


def check(_connection, _sender, _path, _interface, method, parameters, invocation):
    if method != "CheckAuthorization":
        invocation.return_dbus_error("org.freedesktop.PolicyKit1.Error.NotSupported", method)
        return
    action = parameters.unpack()[1]
    allowed = action.startswith("org.freedesktop.RealtimeKit1.")
    print(f"{action}: {'allowed' if allowed else 'refused'}", flush=True)
    invocation.return_value(GLib.Variant("((bba{ss}))", ((allowed, False, {}),)))


def main():
    address, ready = sys.argv[1], sys.argv[2]
    flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
    bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)
    bus.register_object("/org/freedesktop/PolicyKit1/Authority", node.interfaces[0], check, None, None)
    loop = GLib.MainLoop()

    def acquired(_connection, _name):
        open(ready, "w").close()

    Gio.bus_own_name_on_connection(bus, "org.freedesktop.PolicyKit1", Gio.BusNameOwnerFlags.NONE, acquired,
                                   lambda *_: loop.quit())
    loop.run()


if __name__ == "__main__":
    main()
