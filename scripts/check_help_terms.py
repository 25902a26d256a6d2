#!/usr/bin/env python3
"""The help against the program: every menu, button and dialog text that the
help names in ［ ］, every key it names in <kbd>, and every range of a
setting it gives, must exist in the program as written; and the help and the
program's texts call each thing by one name. Prints "ok NAME" or "FAIL NAME:
why" for each check, as test.sh counts them."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Texts that Windows itself draws for us (the property sheet's buttons).
SYSTEM_TEXTS = {"OK", "キャンセル", "適用", "ヘルプ"}
# Keys handled in code or by the controls and dialogs themselves.
CODE_KEYS = {
    "←", "→", "↑", "↓", "Home", "End", "PageUp", "PageDown", "Ctrl+Home", "Ctrl+End", "Shift", "Ctrl", "Alt",
    "Enter", "Esc", "Tab", "Shift+Tab", "Ctrl+Tab", "Ctrl+Shift+Tab", "BackSpace", "Alt+F4", "Alt+Tab", "F1", "Shift+F10",
    "アプリケーション", "+", "-", "0",
}
# Names that once stood beside the one the menus and the status bar use.
VARIANTS = {"キャレット": "カーソル", "他の": "ほかの", "フォルダー": "フォルダ", "16 進": "16進",
            "Susieプラグイン": "Susie プラグイン", "自動認識": "自動判別", "切換": "切り換え", "切り替": "切り換え",
            "マイ コンピュータ": "PC"}


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def help_pages():
    folder = os.path.join(ROOT, "help")
    return {name: read(os.path.join(folder, name)) for name in sorted(os.listdir(folder)) if name.endswith(".htm")}


def program_texts():
    """The quoted texts of the resources and of the program's own windows."""
    texts = set()
    sources = [os.path.join(ROOT, "resources", "glim.rc")]
    for folder in ("app", "view", "navigation", "settings", "window"):
        base = os.path.join(ROOT, folder)
        if os.path.isdir(base):
            sources += [os.path.join(base, n) for n in os.listdir(base) if n.endswith(".cpp")]
    for path in sources:
        for text in re.findall(r'"((?:[^"\\\n]|\\.)*)"', read(path)):
            texts.add(text.replace("\\t", "\t"))
    return texts


def label_forms(text):
    """A text as the help may name it: whole, without its accelerator, and
    without its access key and trailing colon."""
    label = text.split("\t")[0]
    forms = {label, label.replace("&", "")}
    bare = re.sub(r"\(&.\)", "", label).rstrip("：:")
    forms.add(bare)
    forms.add(bare.replace("...", ""))
    forms.add(label.rstrip("：:"))
    return forms


def check_texts(pages, texts):
    known = set(SYSTEM_TEXTS)
    for text in texts:
        known |= label_forms(text)
    missing = []
    for name, page in pages.items():
        for term in re.findall(r"［([^］]+)］", page):
            wanted = re.sub(r"\((.)\)", r"(&\1)", term)  # 表示(V) is written 表示(&V)
            if wanted not in known and term not in known:
                missing.append(f"{name}: ［{term}］")
    return missing


def accelerator_keys(rc):
    keys = set()
    block = re.search(r"ACCELERATORS\s*BEGIN(.*?)END", rc, re.S)
    names = {"VK_F3": "F3", "VK_F5": "F5", "VK_NEXT": "PageDown", "VK_PRIOR": "PageUp", "VK_ADD": "+",
             "VK_OEM_PLUS": "+", "VK_SUBTRACT": "-", "VK_OEM_MINUS": "-", "VK_NUMPAD0": "0"}
    for line in block.group(1).splitlines() if block else []:
        parts = [p.strip() for p in line.split(",")]
        if len(parts) < 3:
            continue
        key = parts[0].strip('"')
        key = names.get(key, key)
        mods = ("Ctrl+" if "CONTROL" in parts else "") + ("Shift+" if "SHIFT" in parts else "") + \
            ("Alt+" if "ALT" in parts else "")
        keys.add(mods + key)
    for shown in re.findall(r'\\t([^"]+)"', rc):  # the keys that menu items show
        keys.add(shown)
    return keys


def check_keys(pages, rc):
    known = CODE_KEYS | accelerator_keys(rc)
    missing = []
    for name, page in pages.items():
        for key in re.findall(r"<kbd>([^<]+)</kbd>", page):
            if key not in known:
                missing.append(f"{name}: {key}")
    return missing


def check_ranges(pages):
    """Each "N ～ M" on a settings page belongs to a field the dialog reads
    with that range."""
    consts = {}
    calls = []
    for name in os.listdir(os.path.join(ROOT, "settings")):
        if not name.endswith(".cpp"):
            continue
        source = read(os.path.join(ROOT, "settings", name))
        consts.update({k: int(v) for k, v in re.findall(r"constexpr int (k\w+) = (\d+);", source)})
        calls += re.findall(r'ReadRange\(\w+, \w+, "([^"]+)", (\w+), (\w+),', source)
    ranges = {(label, int(consts.get(lo, lo)), int(consts.get(hi, hi))) for label, lo, hi in calls
              if (lo.isdigit() or lo in consts) and (hi.isdigit() or hi in consts)}
    missing = []
    for name, page in pages.items():
        if not name.startswith("settings"):
            continue
        for row in re.findall(r"<tr>(.*?)</tr>", page, re.S):
            cells = re.findall(r"<td>(.*?)</td>", row, re.S)
            found = re.search(r"(\d+) ～ (\d+)", row)
            if not cells or not found:
                continue
            label = re.sub(r"\(.\)$", "", re.sub(r"<[^>]+>", "", cells[0]).strip())
            lo, hi = int(found.group(1)), int(found.group(2))
            if not any(l in label and lo == a and hi == b for l, a, b in ranges):
                missing.append(f"{name}: {label} {lo} ～ {hi}")
    return missing


def check_words(pages, texts):
    found = []
    for name, text in list(pages.items()) + [("the program's texts", "\n".join(texts))]:
        found += [f"{name}: {variant} (say {word})" for variant, word in VARIANTS.items() if variant in text]
    return found


def main():
    pages = help_pages()
    rc = read(os.path.join(ROOT, "resources", "glim.rc"))
    failed = 0
    texts = program_texts()
    unknown = "the help names what the program does not have"
    for check, why, missing in (("help-texts", unknown, check_texts(pages, texts)),
                                ("help-keys", unknown, check_keys(pages, rc)),
                                ("help-ranges", unknown, check_ranges(pages)),
                                ("help-words", "a second name for one thing", check_words(pages, texts))):
        if missing:
            failed += 1
            for m in missing:
                print(f"FAIL {check}: {why}: {m}")
        else:
            print(f"ok {check}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
