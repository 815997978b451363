#!/usr/bin/env python3
"""The layer check on made-up trees: clean ones pass, each kind of crossing fails.

    check_layers_test.py PATH/TO/check-layers
"""

import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = None

CLEAN = {
    "platform/core/stream.h": '#include <string>\n#include "platform/core/text_encoding.h"\n',
    "calc/calc.cpp": '#include "calc/calc.h"\n#include "platform/core/component.h"\n',
    "engine/quillon.cpp": '#include "engine/quillon.h"\n#include "calc/rep_calculator.h"\n',
    "html/parse/tokenizer.cpp": '#include "html/parse/symb.h"\n',
    "html/image/gif.cpp": '#include "html/image/gif.h"\n#include "platform/core/canvas.h"\n',
    "html/layout/section.h": '#include "html/parse/symb.h"\n#include "html/image/gif.h"\n',
    "html/tree/parser.cpp": '#include "html/layout/section.h"\n#include "html/tree/p.h"\n',
    # The Qt adapters use Qt and implement platform/core's ports only.
    "platform/qt/canvas.cpp": '#include <QPainter>\n#include "platform/core/canvas.h"\n',
    "platform/mail/mime.cpp": '#include "platform/mail/mime.h"\n#include "platform/core/stream.h"\n',
    "mail/smtp_storage.cpp": '#include "engine/rpt_storage.h"\n#include "platform/mail/mime.h"\n',
    # A layer's Qt part in a folder of its own is checked as that folder.
    "design/rules.h": '#include "platform/core/stream.h"\n',
    "design/qt/window.cpp": '#include <QWidget>\n#include "design/rules.h"\n',
    # Layers above the checked ones may use everything.
    # The viewer control uses Qt (with its macro names) and everything of HTML below it.
    "html/view/model.h": '#include "html/tree/parser.h"\n#include "platform/core/canvas.h"\n',
    "html/view/qt/viewer.h": '#include <QWidget>\n#include "html/view/model.h"\n'
    '#include "platform/qt/canvas.h"\nclass V : public QWidget {\n  public slots:\n};\n',
    "apps/quillon/main.cpp": '#include "html/tree/parser.h"\n#include <QApplication>\n',
}


def run_on(files):
    with tempfile.TemporaryDirectory(prefix="quillon_layers_") as root:
        for name, text in files.items():
            path = os.path.join(root, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
        result = subprocess.run(
            [sys.executable, CHECKER, root], capture_output=True, text=True, check=False
        )
        return result.returncode, result.stdout


class LayerCheck(unittest.TestCase):
    def test_a_clean_tree_passes(self):
        code, out = run_on(CLEAN)
        self.assertEqual(code, 0, out)

    def test_every_forbidden_include_is_reported_with_file_and_line(self):
        crossings = {
            "engine/html_use.cpp": "#include \"html/layout/section.h\"\n",
            "engine/qt_use.h": "#include <QString>\n",
            "html/parse/engine_use.cpp": "\n#include \"engine/quillon.h\"\n",
            "html/image/qt_use.cpp": "#  include <QtGui/QImage>\n",
            "html/layout/tree_use.h": "#include \"html/tree/parser.h\"\n",
            "html/tree/engine_use.cpp": "#include \"engine/field_table.h\"\n",
            "platform/core/up.cpp": "#include \"calc/calc.h\"\n",
            "platform/core/qt_above.cpp": "#include \"platform/qt/canvas.h\"\n",
            "calc/engine_use.cpp": "#include \"engine/quillon.h\"\n",
            "calc/html_use.cpp": "#include \"html/parse/symb.h\"\n",
            "html/view/engine_use.h": "#include \"engine/rep_viewer_par.h\"\n",
            "html/view/window_use.cpp": "#include \"viewers/wwwrep_viewer.h\"\n",
            "html/view/qt_use.cpp": "#include <QWidget>\n",
            "html/view/qt/engine_use.h": "#include \"engine/rep_viewer_par.h\"\n",
            "platform/qt/engine_use.cpp": "#include \"engine/quillon.h\"\n",
            "platform/qt/image_use.h": "#include \"html/image/image_decode.h\"\n",
            "platform/mail/engine_use.cpp": "#include \"engine/mapi_error.h\"\n",
            "platform/mail/qt_use.cpp": "#include <QString>\n",
            "mail/window_use.cpp": "#include \"viewers/wwwrep_viewer.h\"\n",
            "design/qt_use.cpp": "#include <QWidget>\n",
            "design/qt/engine_use.cpp": "#include \"engine/quillon.h\"\n",
            "apps/datasource/window_use.cpp": "#include \"viewers/wwwrep_viewer.h\"\n",
        }
        for name, text in crossings.items():
            with self.subTest(name):
                code, out = run_on({**CLEAN, name: text})
                self.assertEqual(code, 1, out)
                line = 2 if text.startswith("\n") else 1
                self.assertIn(f"{name}:{line}:", out)
                self.assertEqual(len(out.splitlines()), 1, out)

    def test_includes_in_text_and_system_headers_are_not_crossings(self):
        code, out = run_on(
            {
                **CLEAN,
                "engine/doc.h": '// see #include "html/layout/section.h" in the viewer\n'
                '#include <unistd.h>\n#include <emmintrin.h>\n',
            }
        )
        self.assertEqual(code, 0, out)

    def test_qt_macro_words_as_names_in_core_headers_are_reported(self):
        code, out = run_on(
            {
                **CLEAN,
                "engine/model.h": "struct L {\n  std::vector<int> slots;\n};\n",
                "calc/prog.h": "void f() { emit(1); }\n",
            }
        )
        self.assertEqual(code, 1, out)
        self.assertIn("engine/model.h:2:", out)
        self.assertIn("calc/prog.h:1:", out)
        # In comments, strings, sources and the layers above the core they do no harm.
        code, out = run_on(
            {
                **CLEAN,
                "engine/doc.h": '// the slots of a level\nconst char* s = "too few slots";\n',
                "engine/model.cpp": "int slots = 0;\n",
                "platform/qt/widget.h": "public slots:\n",
            }
        )
        self.assertEqual(code, 0, out)

    def test_cmake_dependencies_follow_the_table(self):
        libs = {
            "platform/core/CMakeLists.txt": "quillon_add_library(quillon_platform_core)\n",
            "html/layout/CMakeLists.txt": "# the model\nquillon_add_library(quillon_html_layout\n"
            "    DEPS quillon_platform_core)\n",
            "engine/CMakeLists.txt": "quillon_add_library(quillon_engine DEPS quillon_platform_core\n"
            "    PACKAGES \"X\")\n",
        }
        code, out = run_on({**CLEAN, **libs})
        self.assertEqual(code, 0, out)
        upward = {"engine/CMakeLists.txt": "quillon_add_library(quillon_engine\n"
                  "    DEPS quillon_html_layout quillon_platform_core)\n"}
        unknown = {"engine/CMakeLists.txt": "quillon_add_library(quillon_engine DEPS quillon_calk)\n"}
        untabled = {"extras/CMakeLists.txt": "quillon_add_library(quillon_extras)\n"}
        for name, change, says in [
            ("upward", upward, "quillon_html_layout in html/layout"),
            ("unknown", unknown, "unknown quillon_calk"),
            ("not in the table", untabled, "quillon_extras is not in the layer table"),
        ]:
            with self.subTest(name):
                code, out = run_on({**CLEAN, **libs, **change})
                self.assertEqual(code, 1, out)
                self.assertIn(says, out)
                self.assertEqual(len(out.splitlines()), 1, out)


if __name__ == "__main__":
    CHECKER = sys.argv.pop(1)
    unittest.main()
