#!/usr/bin/python3
"""fake_tray_host.py: a StatusNotifierWatcher and host on the session bus, for tests.

It owns org.kde.StatusNotifierWatcher and, like a desktop's tray, reads every item that
registers: it prints "registered SERVICE", then "tooltip TEXT" and "status STATUS" now and
each time the item announces a change. Commands, one a line on standard input, act on the
last registered item and print their answers:
  activate | secondary | context     call Activate, SecondaryActivate, ContextMenu (0, 0)
  tooltip                            print "tooltip TEXT" of the item now
  pixmaps                            print "pixmaps WxH ..." of IconPixmap
  menu                               print "menu" and one line per item of the dbusmenu
                                     layout: "item ID LABEL [check 0|1]" or "item ID -"
  click ID                           send the dbusmenu event "clicked" to item ID
  quit                               leave (the name goes with the process)
Every output line is flushed at once. Run it with /usr/bin/python3 (python3-gi).
"""
import sys

from gi.repository import Gio, GLib

WATCHER_XML = """
<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
</node>"""

ITEM = "org.kde.StatusNotifierItem"


def say(*words):
    print(*words, flush=True)


class Host:
    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.items = []
        self.service = None
        self.path = "/StatusNotifierItem"
        info = Gio.DBusNodeInfo.new_for_xml(WATCHER_XML).interfaces[0]
        self.bus.register_object("/StatusNotifierWatcher", info, self.on_call, self.on_property, None)
        Gio.bus_own_name_on_connection(self.bus, "org.kde.StatusNotifierWatcher",
                                       Gio.BusNameOwnerFlags.NONE,
                                       lambda *a: say("watcher ready"), lambda *a: say("watcher lost"))
        GLib.io_add_watch(GLib.IOChannel.unix_new(0), GLib.PRIORITY_DEFAULT,
                          GLib.IOCondition.IN | GLib.IOCondition.HUP, self.on_command)

    def on_property(self, bus, sender, path, iface, name):
        if name == "RegisteredStatusNotifierItems":
            return GLib.Variant("as", self.items)
        if name == "IsStatusNotifierHostRegistered":
            return GLib.Variant("b", True)
        return GLib.Variant("i", 0)

    def on_call(self, bus, sender, path, iface, method, params, invocation):
        if method == "RegisterStatusNotifierItem":
            service = params.unpack()[0]
            if service.startswith("/"):
                self.service, self.path = sender, service
            else:
                self.service, self.path = service, "/StatusNotifierItem"
            self.items.append(self.service)
            invocation.return_value(None)
            say("registered", self.service)
            self.bus.signal_subscribe(self.service, ITEM, None, self.path, None,
                                      Gio.DBusSignalFlags.NONE, self.on_item_signal)
            for name in ("ToolTip", "Status"):
                try:
                    self.print_property(name)
                except GLib.Error as e:  # items need not have every property
                    say("error", e.message)
            return
        invocation.return_value(None)

    def item_property(self, name):
        reply = self.bus.call_sync(self.service, self.path, "org.freedesktop.DBus.Properties", "Get",
                                   GLib.Variant("(ss)", (ITEM, name)), GLib.VariantType("(v)"),
                                   Gio.DBusCallFlags.NONE, 2000, None)
        return reply.unpack()[0]

    def print_property(self, name):
        value = self.item_property(name)
        if name == "ToolTip":
            say("tooltip", value[2])
        elif name == "Status":
            say("status", value)

    def on_item_signal(self, bus, sender, path, iface, signal, params):
        if signal == "NewToolTip":
            try:
                self.print_property("ToolTip")
            except GLib.Error as e:
                say("error", e.message)
        elif signal == "NewStatus":
            say("status", params.unpack()[0])
        elif signal == "NewIcon":
            say("new icon")

    def call_item(self, method, params, iface=ITEM, path=None, reply=None):
        return self.bus.call_sync(self.service, path or self.path, iface, method, params, reply,
                                  Gio.DBusCallFlags.NONE, 5000, None)

    def menu_path(self):
        return self.item_property("Menu")

    def on_command(self, channel, condition):
        line = sys.stdin.readline()
        if not line:
            GLib.MainLoop.quit(loop)
            return False
        words = line.split()
        try:
            self.run(words)
        except GLib.Error as e:
            say("error", e.message)
        return True

    def run(self, words):
        if not words:
            return
        command = words[0]
        if command in ("activate", "secondary", "context"):
            method = {"activate": "Activate", "secondary": "SecondaryActivate",
                      "context": "ContextMenu"}[command]
            self.call_item(method, GLib.Variant("(ii)", (0, 0)))
            say("done", command)
        elif command == "tooltip":
            self.print_property("ToolTip")
        elif command == "pixmaps":
            say("pixmaps", *("%dx%d" % (w, h) for w, h, _ in self.item_property("IconPixmap")))
        elif command == "menu":
            menu = self.menu_path()
            self.call_item("AboutToShow", GLib.Variant("(i)", (0,)), "com.canonical.dbusmenu", menu)
            revision, layout = self.call_item(
                "GetLayout", GLib.Variant("(iias)", (0, -1, [])), "com.canonical.dbusmenu", menu,
                GLib.VariantType("(u(ia{sv}av))")).unpack()
            say("menu")
            for child in layout[2]:
                item_id, props, _ = child
                if props.get("type") == "separator":
                    say("item", item_id, "-")
                elif "toggle-type" in props:
                    say("item", item_id, props["label"], "check", props.get("toggle-state"))
                else:
                    say("item", item_id, props["label"])
        elif command == "click":
            self.call_item("Event", GLib.Variant("(isvu)", (int(words[1]), "clicked",
                                                            GLib.Variant("i", 0), 0)),
                           "com.canonical.dbusmenu", self.menu_path())
            say("done click", words[1])
        elif command == "quit":
            loop.quit()
        else:
            say("unknown", command)


loop = GLib.MainLoop()
host = Host()
loop.run()
