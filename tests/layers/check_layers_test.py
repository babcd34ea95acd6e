#!/usr/bin/env python3
"""The layer check on small source trees: it must find every include that runs up a layer
(and pass the ones that run down), or it proves nothing about src/."""

import importlib.util
import os
import sys
import tempfile
import unittest

_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                       "check-layers.py")
_spec = importlib.util.spec_from_file_location("check_layers", _SCRIPT)
check_layers = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(check_layers)


class LayerCheck(unittest.TestCase):
    def tree(self, files):
        """A src/ folder holding `files` (path -> text); returns the check's findings."""
        root = tempfile.TemporaryDirectory()
        self.addCleanup(root.cleanup)
        for path, text in files.items():
            full = os.path.join(root.name, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as out:
                out.write(text)
        return check_layers.check(root.name)

    def test_includes_down_the_layers_and_within_a_folder_pass(self):
        self.assertEqual(self.tree({
            "core/a.h": '#include <string>\n#include "core/b.h"\n',
            "library/model.h": '#include "core/a.h"\n#include "textexpander/kvlist.h"\n',
            "engine/hook/monitor.cpp": '#include "engine/hook/monitor.h"\n'
                                       '  #  include "library/model.h"\n',
            "platform/x11/keys.cpp": '#include <X11/Xlib.h>\n#include "platform/keys.h"\n',
            "cli/run.cpp": '#include "platform/x11/x11_platform.h"\n#include "app/app.h"\n',
            "ui/window.cpp": "#include <gtkmm.h>\n",
        }), [])

    def test_an_include_up_a_layer_is_reported_with_its_place(self):
        problems = self.tree({
            "core/folders.h": '#include "core/paths.h"\n\n#include "platform/folders.h"\n',
            "textexpander/kvlist.h": '#include "library/abbrtime.h"\n',
        })
        self.assertEqual(problems, [
            'src/core/folders.h:3: core includes "platform/folders.h" (platform is not below core)',
            'src/textexpander/kvlist.h:1: textexpander includes "library/abbrtime.h" '
            "(library is not below textexpander)",
        ])

    def test_peers_and_the_programs_are_out_of_reach(self):
        problems = self.tree({
            "engine/a.cpp": '#include "launch/hotkeys.h"\n#include "import/x.h"\n',
            "ui/a.cpp": '#include "cli/cli.h"\n#include "app/app.h"\n',
            "cli/a.cpp": '#include "ui/window.h"\n',
            "app/a.cpp": '#include "ui/window.h"\n',
        })
        self.assertEqual(len(problems), 5, problems)

    def test_only_the_programs_and_the_simulation_name_a_backend(self):
        problems = self.tree({
            "engine/a.cpp": '#include "platform/sim/desktop.h"\n',
            "settings/a.cpp": '#include "platform/x11/xdg_folders.h"\n',
            "platform/sim/a.cpp": '#include "platform/x11/keys.h"\n',
            "simulation/a.cpp": '#include "platform/sim/desktop.h"\n',
        })
        self.assertEqual([p.split(":")[0] for p in problems],
                         ["src/engine/a.cpp", "src/platform/sim/a.cpp", "src/settings/a.cpp"])

    def test_x11_and_gtk_headers_stay_in_their_layers(self):
        problems = self.tree({
            "engine/a.cpp": "#include <X11/Xlib.h>\n#include <glib.h>\n",
            "presenters/a.cpp": "#include <gtkmm/window.h>\n",
            "platform/sim/a.cpp": "#include <xkbcommon/xkbcommon.h>\n",
        })
        self.assertEqual(len(problems), 3, problems)
        self.assertIn("only platform/x11 may include", problems[0])

    def test_unknown_folders_and_includes_without_a_folder_fail(self):
        problems = self.tree({
            "gadgets/a.cpp": "",
            "loose.cpp": "",
            "core/a.cpp": '#include "a.h"\n',
        })
        self.assertEqual(len(problems), 3, problems)
        self.assertTrue(any("gadgets is in no layer" in p for p in problems))
        self.assertTrue(any('"a.h" does not name the folder' in p for p in problems))

    def test_every_layer_reaches_only_layers_of_the_table(self):
        for layer, below in check_layers.ALLOWED.items():
            self.assertNotIn(layer, below)
            for other in below:
                self.assertIn(other, check_layers.ALLOWED)
                self.assertNotIn(layer, check_layers.ALLOWED[other],
                                 f"{layer} and {other} include each other")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
