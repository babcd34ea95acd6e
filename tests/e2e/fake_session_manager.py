#!/usr/bin/python3
"""fake_session_manager.py: a GNOME-style session manager on the session bus, for tests.

It owns org.gnome.SessionManager; each client that registers (RegisterClient) is printed as
"registered APP_ID". A line "end" on standard input ends the session: QueryEndSession, then
EndSession to every client, each answer printed as "response OK" once it comes. Run it with
/usr/bin/python3 (python3-gi).
"""
import sys

from gi.repository import Gio, GLib

MANAGER_XML = """
<node>
 <interface name="org.gnome.SessionManager">
  <method name="RegisterClient">
   <arg name="app_id" type="s" direction="in"/>
   <arg name="client_startup_id" type="s" direction="in"/>
   <arg name="client_id" type="o" direction="out"/>
  </method>
  <method name="UnregisterClient"><arg name="client_id" type="o" direction="in"/></method>
 </interface>
</node>"""

CLIENT_XML = """
<node>
 <interface name="org.gnome.SessionManager.ClientPrivate">
  <method name="EndSessionResponse">
   <arg name="is_ok" type="b" direction="in"/>
   <arg name="reason" type="s" direction="in"/>
  </method>
  <signal name="Stop"/>
  <signal name="QueryEndSession"><arg name="flags" type="u"/></signal>
  <signal name="EndSession"><arg name="flags" type="u"/></signal>
  <signal name="CancelEndSession"/>
 </interface>
</node>"""


def say(*words):
    print(*words, flush=True)


class Manager:
    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.clients = []
        manager = Gio.DBusNodeInfo.new_for_xml(MANAGER_XML).interfaces[0]
        self.client_info = Gio.DBusNodeInfo.new_for_xml(CLIENT_XML).interfaces[0]
        self.bus.register_object("/org/gnome/SessionManager", manager, self.on_call, None, None)
        Gio.bus_own_name_on_connection(self.bus, "org.gnome.SessionManager",
                                       Gio.BusNameOwnerFlags.NONE,
                                       lambda *a: say("manager ready"), lambda *a: say("manager lost"))
        GLib.io_add_watch(GLib.IOChannel.unix_new(0), GLib.PRIORITY_DEFAULT,
                          GLib.IOCondition.IN | GLib.IOCondition.HUP, self.on_command)

    def on_call(self, bus, sender, path, iface, method, params, invocation):
        if method == "RegisterClient":
            path = f"/org/gnome/SessionManager/Client{len(self.clients) + 1}"
            self.bus.register_object(path, self.client_info, self.on_client_call, None, None)
            self.clients.append((sender, path))
            invocation.return_value(GLib.Variant("(o)", (path,)))
            say("registered", params.unpack()[0])
        else:
            invocation.return_value(None)

    def on_client_call(self, bus, sender, path, iface, method, params, invocation):
        invocation.return_value(None)
        if method == "EndSessionResponse":
            say("response", "OK" if params.unpack()[0] else "refused")

    def signal(self, name, params=None):
        for sender, path in self.clients:
            self.bus.emit_signal(sender, path, "org.gnome.SessionManager.ClientPrivate", name, params)

    def on_command(self, channel, condition):
        line = sys.stdin.readline()
        if not line:
            loop.quit()
            return False
        if line.strip() == "end":
            self.signal("QueryEndSession", GLib.Variant("(u)", (0,)))
            self.signal("EndSession", GLib.Variant("(u)", (0,)))
            say("ending")
        return True


loop = GLib.MainLoop()
manager = Manager()
loop.run()
