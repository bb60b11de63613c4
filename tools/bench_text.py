"""Words, names and sentences that the benchmark corpus's tags and documents
are made of (tools/make_bench_corpus.py, tools/bench_rtf.py)."""

WORDS = ("river night garden silver morning light shadow paper glass winter summer "
         "harbour train letter window mountain ocean quiet golden blue stone fire "
         "echo dream city road home heart rain snow star moon sun forest bridge "
         "north south island lantern violin piano song dance little long last first "
         "over under between without again always never hello goodbye tomorrow").split()
FIRST_NAMES = "Anna Ben Clara David Elena Felix Grace Hugo Iris Jonas Kate Leo Mia Nils Olga Paul".split()
LAST_NAMES = "Berg Costa Dahl Evans Fischer Garcia Hansen Ito Jensen Kowalski Larsen Moreau Novak".split()
JAPANESE_WORDS = ("夜 川 月 空 雨 雪 風 花 海 山 光 夢 街 駅 星 春 夏 秋 冬 心 "
                  "東京 大阪 京都 桜 青い 静かな 遠い 約束 物語 手紙 旅 歌 音楽 時間").split()
# The words of office prose: nouns, verbs and the particles between them.
JAPANESE_NOUNS = ("会議 資料 報告 予定 確認 連絡 担当 部長 本社 支店 営業 企画 開発 品質 管理 "
                  "顧客 契約 見積 請求 納品 日程 変更 内容 結果 課題 対応 検討 提案 説明 調査 "
                  "東京 大阪 名古屋 福岡 札幌 今日 明日 来週 今月 昨年 社員 皆様 お客様 製品 "
                  "サービス システム データ ファイル メール プロジェクト チーム スケジュール "
                  "春 夏 秋 冬 桜 天気 時間 場所 問題 方針 目標 売上 費用 情報").split()
JAPANESE_PARTICLES = "は が を に の で と も から まで より へ".split()
JAPANESE_ENDINGS = ("します です ます しました でした いたします お願いします ください "
                    "予定です と思います となります を行います").split()


def phrase(rng, low, high):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(low, high))).title()


def person(rng):
    return f"{rng.choice(FIRST_NAMES)} {rng.choice(LAST_NAMES)}"


def japanese_phrase(rng, low, high):
    return "".join(rng.choice(JAPANESE_WORDS) for _ in range(rng.randint(low, high)))


def japanese_sentence(rng):
    """A sentence of office prose: nouns joined by particles, a comma or two,
    now and then a date or a number in ASCII digits, a polite ending."""
    parts = []
    for clause in range(rng.randint(1, 3)):
        if clause:
            parts.append("、")
        for _ in range(rng.randint(2, 5)):
            parts.append(rng.choice(JAPANESE_NOUNS) + rng.choice(JAPANESE_PARTICLES))
        if rng.random() < 0.2:
            parts.append(f"{rng.randint(1, 12)}月{rng.randint(1, 28)}日")
    parts.append(rng.choice(JAPANESE_NOUNS) + rng.choice(JAPANESE_ENDINGS) + "。")
    return "".join(parts)
