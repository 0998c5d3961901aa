#!/usr/bin/env python3
"""Writes the sample books (Shift_JIS, CRLF), their illustration and the
wallpaper folder. Run from anywhere; the files land beside this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

BOOK = [
    "春の窓辺",
    "見本　太郎",
    "",
    "［＃５字下げ］一［＃「一」は中見出し］",
    "　｜春風《はるかぜ》が窓辺の｜硝子《ガラス》を叩いた。少女は読みかけの本を閉じ、庭の桜を眺めた。",
    "　縁側《えんがわ》には猫が丸くなっていて、時折、耳だけを動かしては陽射《ひざ》しの温《ぬく》もりを確かめている。",
    "　「今日は、どこへも行かないの？」と母が訊いた。少女は首を振り、また窓の外に目を向けた――遠くで鶯《うぐいす》が鳴いている。",
    "　この行はとても長いので、画面の幅に収まりきらず、途中で折り返されるはずである。句読点や括弧、たとえば「。」や「、」や「）」が行の頭に来ないように、また「（」や「『」が行の末尾に残らないように、禁則処理が働く。English words such as reading and Aozora stay whole, and numbers like 1234567 are not split.",
    "　小さな文字、ぁぃぅぇぉっゃゅょ、そして長音ー、感嘆符！疑問符？も行頭には置かれない。",
    "［＃挿絵（illust.bmp）入る］",
    "　挿絵の行を軽く叩くと、絵が画面いっぱいに表示される。もう一度叩けば元の頁に戻る。",
    "　<a href=\"https://www.aozora.gr.jp/\">青空文庫</a>への案内もこの行にある。",
    "",
    "［＃５字下げ］二［＃「二」は中見出し］",
]
for n in range(1, 61):
    BOOK.append(f"　第{n}段。{'桜の花びらが風に舞い、' * (1 + n % 3)}少女はそれを目で追《お》った。")
BOOK += ["", "底本：「見本文庫」見本社", "入力：見本　太郎"]

# A short book that uses every family of annotations the reader shows in full
# notation (scripts/run --notation opens it).
NOTATION_BOOK = [
    "注記の見本帖",
    "見本　花子",
    "",
    "［＃ここから２字下げ］",
    "この本は、外字、傍点と傍線、字下げ、地付き、見出し、改ページ、縦中横、小さな文字、挿絵の注記をひと通り使っている。",
    "［＃ここで字下げ終わり］",
    "［＃改ページ］",
    "［＃３字下げ］第一章　庭の桜［＃「第一章　庭の桜」は大見出し］",
    "",
    "［＃５字下げ］一　朝［＃「一　朝」は中見出し］",
    "　少女は※［＃「木＋靈」、第3水準1-86-29］子窓《れんじまど》を開けた。庭の桜は花びらを※［＃「てへん＋劣」、U+6318］られたように散らし、鳥が枝から枝へ跳《と》んでいる。名※［＃二の字点、1-2-22］が勝手に花を数えはじめた。",
    "　「今日こそ［＃「今日こそ」に傍点］、あの木に登るの」と少女は言った。母は［＃白丸傍点］聞こえないふり［＃白丸傍点終わり］をして、縁側《えんがわ》で豆を剥《む》いている。",
    "　登れるかどうか［＃「登れるかどうか」に傍線］は、枝の太さ［＃「枝の太さ」の左に波線］次第である。",
    "［＃挿絵（illust.bmp）入る］",
    "［＃７字下げ］二　昼［＃「二　昼」は中見出し］",
    "［＃ここから２字下げ、折り返して３字下げ］",
    "一、木に登るときは、必ず靴を脱ぐこと。裸足のほうが幹をしっかりとつかめるからである。",
    "一、花の枝は折らないこと。",
    "［＃ここで字下げ終わり］",
    "［＃地から２字上げ］（母の書き置き）",
    "　温度は18［＃「18」は縦中横］度、空気はH2［＃「2」は下付き小文字］Oを多く含み、花は10［＃「0」は上付き小文字］日もてば良い方だという。",
    "［＃ここから１段階小さな文字］",
    "　（この段落は小さな文字で組まれている。）",
    "［＃ここで小さな文字終わり］",
    "［＃桜の木の図（illust.bmp、横160×縦160）入る］",
    "［＃改ページ］",
    "［＃５字下げ］三　夕［＃「三　夕」は小見出し］",
    "夕暮れ［＃「夕暮れ」は同行小見出し］　木の上から見る町は、朝とはまるで違って見えた［＃「見えた」はママ］。",
    "［＃地付き］（了）",
]


def write_book(path, lines):
    data = "\r\n".join(lines).encode("cp932") + b"\r\n"
    with open(path, "wb") as f:
        f.write(data)


def write_bmp(path, width, height, pixel):
    stride = (3 * width + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - 3 * width)
        rows.append(bytes(row))
    bits = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(bits), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + bits)


def illustration(x, y):
    # A cherry tree: brown trunk, pink crown, pale sky.
    if 70 <= x < 90 and y >= 110:
        return (110, 70, 40)
    dx, dy = x - 80, y - 80
    if dx * dx + dy * dy < 55 * 55:
        return (240, 170, 190) if (x // 6 + y // 6) % 3 else (250, 210, 220)
    return (200, 225, 245)


def main():
    write_book(os.path.join(HERE, "haru.txt"), BOOK)
    write_book(os.path.join(HERE, "chuuki.txt"), NOTATION_BOOK)
    write_bmp(os.path.join(HERE, "illust.bmp"), 160, 160, illustration)
    wall = os.path.join(HERE, "wallpapers")
    os.makedirs(wall, exist_ok=True)
    write_bmp(os.path.join(wall, "sakura.bmp"), 64, 64,
              lambda x, y: (255, 200, 215) if ((x - 32) ** 2 + (y - 32) ** 2) < 400 else (255, 240, 245))
    write_bmp(os.path.join(wall, "waves.bmp"), 96, 48,
              lambda x, y: (170, 210, 240) if (y + (x // 8) % 4) % 12 < 4 else (225, 240, 250))
    write_bmp(os.path.join(wall, "check.bmp"), 40, 40,
              lambda x, y: (200, 230, 200) if (x // 10 + y // 10) % 2 else (240, 250, 235))


if __name__ == "__main__":
    main()
