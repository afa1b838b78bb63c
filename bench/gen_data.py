#!/usr/bin/env python3
"""Writes a benchmark dictionary and the output tree that converting it must give.

Usage: gen_data.py CASE DIR [SEED]
  CASE  normal: 200 categories of 500 entries, titles with collisions and substituted characters;
        worst:  one category of 20,000 entries and no expdata.ini, so every title is empty and the
                names run .txt, 1.txt, 2.txt, ...;
        empty:  no categories at all (the fixed cost of a run).
  DIR   gets install/ (pemri.exe, pmridata.ini, dicdata.ini, expdata.ini; code page 932, CR LF)
        and expected.bin, the folders and files to create, for the baseline writer:
        records of b"D" path b"\\0" (a folder) or b"F" path b"\\0" length(u32 LE) bytes (a file),
        paths relative to the output folder, UTF-8, "/"-separated, in the order of the conversion.

The names in expected.bin are worked out here independently of the converter (substitution of the
eleven characters, the device-name guard, numbered names for collisions); comparing the two output
trees therefore also checks the converter's naming.
"""

import os
import random
import struct
import sys

# Replacements of the characters that a file name cannot hold, as code page 932 bytes.
SUBSTITUTIONS = {
    0x5C: b"\x81\x8f",  # ￥
    0x2F: b"\x81\x5e",  # ／
    0x3A: b"\x81\x46",  # ：
    0x2C: b"\x81\x43",  # ，
    0x3B: b"\x81\x47",  # ；
    0x2A: b"\x81\x96",  # ＊
    0x3F: b"\x81\x48",  # ？
    0x22: b"\x81\x68",  # ”
    0x3C: b"\x81\x83",  # ＜
    0x3E: b"\x81\x84",  # ＞
    0x7C: b"\x81\x62",  # ｜
}
DEVICES = {b"CON", b"PRN", b"AUX", b"NUL"} | {
    p + bytes([d]) for p in (b"COM", b"LPT") for d in b"123456789"
}

# Words for titles and category names. Several hold a 5C or 7C trail byte (ソ, 表, 十, 能, 予,
# 構, ポ), which must survive the substitution untouched.
WORDS = (
    "ソフト 表計算 十字路 ポスト 能力 予定表 構造 申請書 東京 大阪 京都 辞書 項目 変換 文字 漢字 "
    "ひらがな カタカナ データ ファイル フォルダ 設定 名前 住所 電話 番号 会議 資料 報告 議事録 "
    "連絡先 天気 料理 レシピ 旅行 日記 メモ 買い物 映画 音楽 読書 健康 運動 仕事 趣味 勉強 英語 "
    "数学 歴史 地理 科学 写真 動物 植物 季節 春 夏 秋 冬 家族 友人 学校 会社 病院 図書館 駅 "
    "新幹線 ラーメン 寿司 天ぷら お茶 コーヒー 野菜 果物 ポケット ソース 表現 十分 可能 予約 "
    "機構 Windows Linux C++ 2024年 第3版 v2"
).split()
SENTENCES = (
    "今日は朝から雨が降っていたので、一日中家で本を読んで過ごしました。",
    "新しいソフトウェアの表示速度を十分に確認してから、予定表を更新してください。",
    "会議の資料は共有フォルダに保存してあります。",
    "東京駅から新幹線に乗って大阪へ向かい、夕方には京都に着きました。",
    "この辞書には、よく使う言葉とその意味、使い方の例がまとめてあります。",
    "ポイント：手順を守れば、誰でも同じ結果を得ることができます。",
    "野菜を細かく切り、だしと醤油で味を調えて、弱火で十五分ほど煮込みます。",
    "電話番号は 03-1234-5678 です。受付時間は平日の9時から17時までです。",
    "申請書の記入例を参考にして、必要な項目をすべて埋めてください。",
    "構造を見直したところ、処理能力が約二倍になりました。",
    "「ぺむりこ」で作った辞書を、テキストファイルとして残しておきます。",
    "春には桜、夏には花火、秋には紅葉、冬には雪景色が楽しめます。",
    "英語の単語帳を作り、毎朝十個ずつ覚えるようにしています。",
    "写真はあとで整理して、アルバムにまとめる予定です。",
    "注意：この項目は古い情報を含んでいる可能性があります。",
    "ABCの三つの案を比較し、コストと効果の表を作りました。",
)
# Characters that get substituted, put between words now and then.
SEPARATORS = ["", "", "", "", "の", "・", "と", " ", "-"]
SUBSTITUTED = ["/", ":", "?", "*", "<", ">", "|", ",", ";", "\\", '"']


def encode(text):
    return text.encode("cp932")


def is_lead(byte):
    return 0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC


def safe_file_name(name):
    out = bytearray()
    pos = 0
    while pos < len(name):
        if is_lead(name[pos]) and pos + 1 < len(name):
            out += name[pos:pos + 2]
            pos += 2
            continue
        out += SUBSTITUTIONS.get(name[pos], name[pos:pos + 1])
        pos += 1
    return bytes(out)


def guard_device_name(name):
    base = name.split(b".", 1)[0].rstrip(b" ")
    if base.upper() not in DEVICES:
        return name
    first = name[0]
    wide = 0x60 + first - 0x41 if first <= 0x5A else 0x81 + first - 0x61
    return b"\x82" + bytes([wide]) + name[1:]


def category_folder_name(name):
    safe = guard_device_name(safe_file_name(name))
    if safe and safe.strip(b".") == b"":
        return b"\x81\x44" * len(safe)
    return safe


class Folder:
    """The names taken in one output folder, with the next counter to try for each title."""

    def __init__(self):
        self.taken = set()
        self.next = {}
        self.numbered = 0  # names that got a counter

    def claim(self, title):
        counter = self.next.get(title, 0)
        while True:
            stem = title if counter == 0 else title + str(counter).encode()
            name = guard_device_name(stem) + b".txt"
            if name not in self.taken:
                self.taken.add(name)
                self.next[title] = counter + 1
                self.numbered += counter > 0
                return name
            counter += 1


def make_title(rng, earlier):
    if earlier and rng.random() < 0.03:
        return rng.choice(earlier)  # a title used before in the category
    if rng.random() < 0.002:
        return ""
    count = rng.choices((1, 2, 3), weights=(5, 55, 40))[0]
    words = [rng.choice(WORDS) for _ in range(count)]
    title = words[0]
    for word in words[1:]:
        sep = rng.choice(SUBSTITUTED) if rng.random() < 0.08 else rng.choice(SEPARATORS)
        title += sep + word
    return title


def make_text(rng):
    target = rng.randint(50, 500)
    text = ""
    while len(encode(text)) < target:
        text += rng.choice(SENTENCES)
    while len(encode(text)) > 500:
        text = text[:-1]
    return text.rstrip(" ")


def category_names(rng, count):
    names = []
    used = set()
    while len(names) < count:
        name = rng.choice(WORDS)
        if rng.random() < 0.5:
            name += rng.choice(["/", "・", ":", "と", ""]) + rng.choice(WORDS)
        if name not in used:
            used.add(name)
            names.append(name)
    # Two categories that share one folder once the slash is substituted.
    names[-1] = "映画/ドラマ"
    names[-2] = "映画／ドラマ"
    return names


def ini(sections):
    lines = []
    for name, pairs in sections:
        lines.append(b"[" + name + b"]")
        lines += [key + b"=" + value for key, value in pairs]
    return b"".join(line + b"\r\n" for line in lines)


class Expected:
    def __init__(self):
        self.records = []
        self.folders = {}
        self.files = 0
        self.substituted = 0  # titles with a character replaced

    def folder(self, name):
        if name not in self.folders:
            self.folders[name] = Folder()
            self.records.append(b"D" + name.decode("cp932").encode() + b"\0")
        return self.folders[name]

    def file(self, folder, name, text):
        path = (folder + b"\\" + name).decode("cp932").replace("\\", "/").encode()
        content = text + b"\r\n" if text else b""
        self.files += 1
        self.records.append(b"F" + path + b"\0" + struct.pack("<I", len(content)) + content)


def generate(case, seed):
    rng = random.Random(seed)
    if case == "normal":
        categories, entries, with_titles = category_names(rng, 200), 500, True
    elif case == "worst":
        categories, entries, with_titles = ["ことわざ辞典"], 20000, False
    else:
        categories, entries, with_titles = [], 0, True

    items = [(b"Count", str(len(categories)).encode())]
    texts, titles = [], []
    expected = Expected()
    for index, category in enumerate(categories):
        raw_name = encode(category)
        items.append((str(index).encode(), raw_name))
        folder_name = category_folder_name(raw_name)
        folder = expected.folder(folder_name)
        section_texts = [(b"Count", str(entries).encode())]
        section_titles = [(b"Count", str(entries).encode())]
        earlier = []
        for entry in range(entries):
            title = make_title(rng, earlier) if with_titles else ""
            earlier.append(title)
            text = encode(make_text(rng))
            key = str(entry).encode()
            section_texts.append((key, text))
            section_titles.append((key, encode(title)))
            safe_title = safe_file_name(encode(title))
            expected.substituted += safe_title != encode(title)
            name = folder.claim(safe_title)
            expected.file(folder_name, name, text)
        texts.append((b"DicData" + str(index).encode(), section_texts))
        titles.append((b"DicExpData" + str(index).encode(), section_titles))

    files = {"pemri.exe": b"", "pmridata.ini": ini([(b"ItemData", items)]), "dicdata.ini": ini(texts)}
    if with_titles:
        files["expdata.ini"] = ini(titles)
    return files, expected


def main():
    if len(sys.argv) not in (3, 4) or sys.argv[1] not in ("normal", "worst", "empty"):
        sys.exit(__doc__)
    case, root = sys.argv[1], sys.argv[2]
    seed = int(sys.argv[3]) if len(sys.argv) == 4 else 2024
    files, expected = generate(case, seed)
    ini_bytes = sum(len(data) for name, data in files.items() if name.endswith(".ini"))
    numbered = sum(folder.numbered for folder in expected.folders.values())
    print(f"entries={expected.files} ini_bytes={ini_bytes} numbered={numbered} "
          f"substituted={expected.substituted}")
    install = os.path.join(root, "install")
    os.makedirs(install, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(install, name), "wb") as f:
            f.write(data)
    with open(os.path.join(root, "expected.bin"), "wb") as f:
        f.write(b"".join(expected.records))


if __name__ == "__main__":
    main()
