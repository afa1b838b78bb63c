#!/usr/bin/env python3
"""Adds the hand-made seeds of every fuzz target to tests/fuzz/corpus/<target>/: the bundled
sample dictionary and tricky cases of the reading and naming rules. Each seed is named by its
hash, so running it again adds only new cases. The rest of the corpus is what libFuzzer found
(tools/fuzz.sh -m merges it)."""
import hashlib
import pathlib

HERE = pathlib.Path(__file__).resolve().parent
SAMPLE = HERE.parent.parent / "samples" / "pemuriko"
SEP = b"\x1e\x1e"


def sjis(text):
    return text.encode("cp932")


def ini(*lines):
    return b"".join(line + b"\r\n" for line in lines)


def dictionary(categories):
    """The three files of a dictionary: categories is a list of (name, [(title, text), ...])."""
    pmri = [b"[ItemData]", b"Count=%d" % len(categories)]
    dic, exp = [], []
    for i, (name, entries) in enumerate(categories):
        pmri.append(b"%d=" % i + name)
        dic += [b"[DicData%d]" % i, b"Count=%d" % len(entries)]
        exp.append(b"[DicExpData%d]" % i)
        for j, (title, text) in enumerate(entries):
            dic.append(b"%d=" % j + text)
            exp.append(b"%d=" % j + title)
    return ini(*pmri), ini(*dic), ini(*exp)


def sample():
    return tuple((SAMPLE / name).read_bytes() for name in ("pmridata.ini", "dicdata.ini", "expdata.ini"))


TRICKY_INI = [
    ini(b"; comment", b"[s]", b"k=v ; not a comment", b"#k=hash", b"k=second"),
    ini(b"[ s ]", b"  k  =  \"  quoted  \"  ", b"K=upper", b"q='single'", b"u=\"\"abc\"\""),
    ini(b"before=unreachable", b"[s]", b"[s]", b"k=only in the second"),
    ini(b"[s]x=after bracket", b"[[s]", b"k=v", b"[t", b"k=no closing bracket"),
    ini(b"[s]", b"novalue", b"novalue=later", b"k = a=b = c", b"e="),
    b"[s]\rk=cr only\nl=lf only\r\nm=crlf\n\rn=lf cr",
    b"[s]\r\nk=ab\x00cd\r\nz=\x00\r\n",
    ini(b"[\x83\x5d]", b"k=trail byte 5D is no bracket", b"[\x81]", b"k=lone lead before bracket"),
    ini(b"[s]", b"k=" + b"x" * 3000),
    ini(b"[s]", b"k=ends in a lead byte\x81") + b"l=\x81",
    b"\xff\xfe" + "[s]\r\nk=ユニコード\r\n".encode("utf-16-le"),
    b"\xef\xbb\xbf[s]\r\nk=utf-8 mark is no mark\r\n",
    b"\xff\xfe[\x00s\x00]\x00\r",
    ini(b"[s]", b"\tk\v=\t v \t v \t"),
]

QUERIES = b"\n".join([b"s", b"k", b"default  ", b"S", b"K", b"", b"ItemData", b"Count", b"0",
                      b"DicData0", b"0", b"  ", b"[s", b"k", b"d"])

NUMBERS = [b"12", b" 12", b"007", b"0x1A", b"0X1A", b"$1A", b"x1A", b"X1a", b"-0x1A", b"0x",
           b"0xFFFFFFFF", b"2147483647", b"2147483648", b"-2147483648", b"-2147483649", b"+7",
           b"+-7", b"-", b"   ", b"1e3", b"3.0", b"12 ", b"abc", b"$100000000", b"$0FFFFFFF0",
           b"214748364", b"2147483650", b"0000000000012", b"-$10", b"\x00\x00\x00\x80"]

NAMES = [b"a/b:c", b"\x83\x5c\x5c\x95\x5c", b"\x83\x7c\x7cx", b"<\"a\">", b"CON", b"nul.txt",
         b"COM1 ", b"lpt9.x", b"..", b".", b"...", b". .", b".. ", b"abc.", b"abc ", b"a\tb",
         b"\x01", b"\x81", b"abc\x81", b"\x9f", b"\xfc\xfc\x81", b"\x81\\", b"*?", b"",
         sjis("記号: <比較> / \"引用\""), b"n" * 255, sjis("名") * 130, b"\xa0\xfd\xfe\xff\x80"]

RUNS = [
    sample(),
    dictionary([(b"..", [(b"t", b"x")]), (b".", [(b"", b"y"), (b"", b"")]),
                (b"CON", [(b"NUL", b"z"), (b"nul", b"w")]), (b"", [(b"root", b"r")])]),
    dictionary([(b"ab\x81", [(b"t\x81", b"lead")]), (b"\x9f", [(b"u", b"v")])]),
    dictionary([(b"c", [(b"abc", b"1"), (b"abc1", b"2"), (b"abc", b"3"), (b"ABC", b"4")])]),
    dictionary([(b"same", [(b"t", b"a")]), (b"same", [(b"t", b"b")])]),
    dictionary([(b"tab", [(b"a\tb", b"t"), (b"\x01", b"c")]), (b"x" * 300, [(b"t", b"u")])]),
    (ini(b"[ItemData]", b"Count=0x2", b"0=hex", b"1=count"),
     ini(b"[DicData0]", b"Count=-1", b"[DicData1]", b"Count=$3", b"0=a", b"1=b", b"2=c"), b""),
    (ini(b"[ItemData]", b"Count=2147483647"), ini(b"[DicData0]", b"Count=2147483647"), b""),
    (b"[ItemData]\r\nCount=1\x00\r\n0=nul\x00name", b"[DicData0]\r\nCount=1\r\n0=a\x00b", b""),
]


def write(target, inputs):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for data in inputs:
        (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)


def main():
    files = [f for run in RUNS for f in run if f] + TRICKY_INI
    write("ini_reader", [f + SEP + QUERIES + SEP + g for f, g in zip(files, files[1:] + [b""])])
    write("number", NUMBERS)
    write("names", NAMES)
    write("conversion_run", [SEP.join(run) for run in RUNS])


if __name__ == "__main__":
    main()
