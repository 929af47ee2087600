// Generated stand-ins for missing corpus files (deterministic).
#include "generated_documents.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "json_emitter.h"

namespace bench {

namespace {

constexpr const char* ascii_words[] = {
    "the", "night", "train", "coffee", "weekend", "music", "live", "today", "photo", "new",
    "city", "rain", "friends", "happy", "tickets", "update", "release", "match", "goal", "road",
};
constexpr const char* utf8_words[] = {
    "café", "naïve", "Größe", "東京", "今日は", "ありがとう", "😊", "✨✨", "❤️", "Привет", "données", "😋",
};
constexpr const char* escapes[] = {"\\n", "\\\"", "\\\\", "\\u00e9", "\\ud83d\\ude0a", "\\/", "\\t"};

std::string sentence(Rng& rng, std::size_t words) {
    std::string s;
    for (std::size_t i = 0; i < words; ++i) {
        if (i != 0) s += rng.chance(8) ? rng.pick(escapes) : " ";
        s += rng.chance(30) ? rng.pick(utf8_words) : rng.pick(ascii_words);
    }
    return s;
}

std::string digits(Rng& rng, std::size_t n) {
    std::string s(1, static_cast<char>('1' + rng.below(9)));
    while (s.size() < n) s += static_cast<char>('0' + rng.below(10));
    return s;
}

std::string handle(Rng& rng) {
    std::string s = rng.pick(ascii_words);
    s += '_';
    s += rng.pick(ascii_words);
    s += std::to_string(rng.below(1000));
    return s;
}

}  // namespace

// Object-heavy, string-heavy, 2-space indent, about 620 KB.
std::string generate_tweets(std::size_t target) {
    std::string out;
    out.reserve(target + 16384);
    Rng rng{0x7477697474657231ull};
    Emitter e(out, 2);
    auto user = [&] {
        e.begin_object();
        std::string id = digits(rng, 9 + rng.below(2));
        e.key("id").raw(id);
        e.key("id_str").string(id);
        e.key("name").string(sentence(rng, 2));
        e.key("screen_name").string(handle(rng));
        e.key("location").string(rng.chance(50) ? sentence(rng, 1) : "");
        e.key("description").string(sentence(rng, 4 + rng.below(14)));
        e.key("url");
        if (rng.chance(40)) e.string("http:\\/\\/t.co\\/" + digits(rng, 10)); else e.null();
        e.key("entities").begin_object();
        e.key("description").begin_object();
        e.key("urls").begin_array();
        e.end_array();
        e.end_object();
        e.end_object();
        e.key("protected").boolean(false);
        e.key("followers_count").integer(rng.below(20000));
        e.key("friends_count").integer(rng.below(5000));
        e.key("listed_count").integer(rng.below(100));
        e.key("created_at").string("Mon Jul 07 12:34:56 +0000 2014");
        e.key("favourites_count").integer(rng.below(30000));
        e.key("utc_offset");
        if (rng.chance(50)) e.integer(32400); else e.null();
        e.key("time_zone");
        if (rng.chance(50)) e.string("Tokyo"); else e.null();
        e.key("geo_enabled").boolean(rng.chance(20));
        e.key("verified").boolean(false);
        e.key("statuses_count").integer(rng.below(100000));
        e.key("lang").string(rng.chance(70) ? "ja" : "en");
        e.key("profile_background_color").string("C0DEED");
        e.key("profile_background_image_url").string("http:\\/\\/abs.twimg.com\\/images\\/themes\\/theme1\\/bg.png");
        e.key("profile_image_url").string("http:\\/\\/pbs.twimg.com\\/profile_images\\/" + digits(rng, 18) + "\\/normal.jpeg");
        e.key("profile_link_color").string("0084B4");
        e.key("profile_use_background_image").boolean(true);
        e.key("default_profile").boolean(rng.chance(50));
        e.key("following").boolean(false);
        e.key("notifications").boolean(false);
        e.end_object();
    };
    auto tweet = [&](auto& self, bool nested) -> void {
        e.begin_object();
        e.key("metadata").begin_object();
        e.key("result_type").string("recent");
        e.key("iso_language_code").string(rng.chance(70) ? "ja" : "en");
        e.end_object();
        e.key("created_at").string("Sun Aug 31 00:29:15 +0000 2014");
        std::string id = digits(rng, 18);
        e.key("id").raw(id);
        e.key("id_str").string(id);
        e.key("text").string(sentence(rng, 6 + rng.below(20)));
        e.key("source").string("<a href=\\\"http:\\/\\/twitter.com\\/download\\/iphone\\\" rel=\\\"nofollow\\\">Twitter for iPhone<\\/a>");
        e.key("truncated").boolean(false);
        e.key("in_reply_to_status_id");
        if (rng.chance(30)) e.raw(digits(rng, 18)); else e.null();
        e.key("in_reply_to_screen_name");
        if (rng.chance(30)) e.string(handle(rng)); else e.null();
        e.key("user");
        user();
        e.key("geo").null();
        e.key("coordinates").null();
        e.key("place").null();
        e.key("contributors").null();
        if (!nested && rng.chance(35)) {
            e.key("retweeted_status");
            self(self, true);
        }
        e.key("retweet_count").integer(rng.below(500));
        e.key("favorite_count").integer(rng.below(500));
        e.key("entities").begin_object();
        e.key("hashtags").begin_array();
        for (std::uint32_t i = rng.below(3); i != 0; --i) {
            e.begin_object();
            e.key("text").string(rng.pick(utf8_words));
            e.key("indices").begin_array();
            std::uint32_t at = rng.below(100);
            e.integer(at);
            e.integer(at + 5);
            e.end_array();
            e.end_object();
        }
        e.end_array();
        e.key("symbols").begin_array();
        e.end_array();
        e.key("urls").begin_array();
        if (rng.chance(30)) {
            e.begin_object();
            e.key("url").string("http:\\/\\/t.co\\/" + digits(rng, 10));
            e.key("expanded_url").string("http:\\/\\/example.org\\/" + handle(rng));
            e.key("display_url").string("example.org\\/" + handle(rng));
            e.key("indices").begin_array();
            e.integer(20);
            e.integer(42);
            e.end_array();
            e.end_object();
        }
        e.end_array();
        e.key("user_mentions").begin_array();
        for (std::uint32_t i = rng.below(3); i != 0; --i) {
            e.begin_object();
            e.key("screen_name").string(handle(rng));
            e.key("name").string(sentence(rng, 2));
            std::string uid = digits(rng, 10);
            e.key("id").raw(uid);
            e.key("id_str").string(uid);
            e.key("indices").begin_array();
            e.integer(0);
            e.integer(12);
            e.end_array();
            e.end_object();
        }
        e.end_array();
        e.end_object();
        e.key("favorited").boolean(false);
        e.key("retweeted").boolean(false);
        e.key("lang").string(rng.chance(70) ? "ja" : "en");
        e.end_object();
    };
    e.begin_object();
    e.key("statuses").begin_array();
    while (e.size() < target - 1024) tweet(tweet, false);
    e.end_array();
    e.key("search_metadata").begin_object();
    e.key("completed_in").raw("0.087");
    e.key("max_id").raw("505874924095815681");
    e.key("query").string("%E4%B8%80");
    e.key("count").integer(100);
    e.end_object();
    e.end_object();
    return out;
}

// Many integer-named members, small integer arrays, 4-space indent, about 1.7 MB.
std::string generate_catalog(std::size_t target) {
    std::string out;
    out.reserve(target + 65536);
    Rng rng{0x6369746D63617431ull};
    Emitter e(out, 4);
    constexpr const char* names[] = {"Arrière-scène central", "1er balcon central", "2ème balcon cour",
                                     "Parterre jardin", "Loge côté cour", "Orchestre", "Corbeille"};
    auto id_map = [&](std::string_view key, std::uint32_t count, std::uint32_t base) {
        e.key(key).begin_object();
        for (std::uint32_t i = 0; i < count; ++i) e.key(std::to_string(base + i)).string(rng.pick(names));
        e.end_object();
    };
    e.begin_object();
    id_map("areaNames", 17, 205705993);
    id_map("audienceSubCategoryNames", 1, 337100890);
    e.key("blockNames").begin_object();
    e.end_object();
    e.key("events").begin_object();
    for (std::uint32_t i = 0; i < 184; ++i) {
        std::uint32_t id = 138586341 + i * 37;
        e.key(std::to_string(id)).begin_object();
        e.key("description").null();
        e.key("id").integer(id);
        e.key("logo");
        if (rng.chance(50)) e.string("/images/UE0AAAAACEKo6QAAAAZDSVRN"); else e.null();
        e.key("name").string(sentence(rng, 2 + rng.below(4)));
        e.key("subTopicIds").begin_array();
        for (std::uint32_t k = 1 + rng.below(4); k != 0; --k) e.integer(337184262 + rng.below(40));
        e.end_array();
        e.key("subjectCode").null();
        e.key("subtitle").null();
        e.key("topicIds").begin_array();
        for (std::uint32_t k = 1 + rng.below(2); k != 0; --k) e.integer(107888604 + rng.below(4) * 1000);
        e.end_array();
        e.end_object();
    }
    e.end_object();
    e.key("performances").begin_array();
    std::int64_t start = 1372701600000;
    while (e.size() < target - 20000) {
        e.begin_object();
        e.key("eventId").integer(138586341 + rng.below(184) * 37);
        e.key("id").integer(339887544 + rng.below(100000));
        e.key("logo");
        if (rng.chance(60)) e.string("/images/UE0AAAAACEKo6QAAAAZDSVRN"); else e.null();
        e.key("name").null();
        std::uint32_t categories = 1 + rng.below(4);
        e.key("prices").begin_array();
        for (std::uint32_t k = 0; k < categories; ++k) {
            e.begin_object();
            e.key("amount").integer(9000 + rng.below(80) * 1000);
            e.key("audienceSubCategoryId").integer(337100890);
            e.key("seatCategoryId").integer(338937295 + k);
            e.end_object();
        }
        e.end_array();
        e.key("seatCategories").begin_array();
        for (std::uint32_t k = 0; k < categories; ++k) {
            e.begin_object();
            e.key("areas").begin_array();
            for (std::uint32_t a = 1 + rng.below(8); a != 0; --a) {
                e.begin_object();
                e.key("areaId").integer(205705993 + rng.below(17));
                e.key("blockIds").begin_array();
                e.end_array();
                e.end_object();
            }
            e.end_array();
            e.key("seatCategoryId").integer(338937295 + k);
            e.end_object();
        }
        e.end_array();
        e.key("seatMapImage").null();
        start += 86400000 * (1 + rng.below(3));
        e.key("start").integer(start);
        e.key("venueCode").string("PLEYEL_PLEYEL");
        e.end_object();
    }
    e.end_array();
    id_map("seatCategoryNames", 64, 338937235);
    id_map("subTopicNames", 19, 337184262);
    e.key("subjectNames").begin_object();
    e.end_object();
    id_map("topicNames", 4, 107888604);
    e.key("topicSubTopics").begin_object();
    for (std::uint32_t t = 0; t < 4; ++t) {
        e.key(std::to_string(107888604 + t * 1000)).begin_array();
        for (std::uint32_t k = 0; k < 6; ++k) e.integer(337184262 + t * 6 + k);
        e.end_array();
    }
    e.end_object();
    e.key("venueNames").begin_object();
    e.key("PLEYEL_PLEYEL").string("Salle Pleyel");
    e.end_object();
    e.end_object();
    return out;
}

// Number-heavy: polygon rings of [lon,lat] pairs printed with 17 significant
// digits (as a binary double of a 6-decimal value prints), no white space
// inside the coordinates, about 2.1 MB.
std::string generate_coordinates(std::size_t target) {
    std::string out;
    out.reserve(target + 65536);
    Rng rng{0x63616E6164613131ull};
    Emitter e(out, 0);
    auto number = [&](double v) {
        double rounded = std::round(v * 1e6) / 1e6;
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", rounded);
        e.raw(buf);
    };
    e.begin_object();
    e.key("type").string("FeatureCollection");
    e.key("features").begin_array();
    e.begin_object();
    e.key("type").string("Feature");
    e.key("properties").begin_object();
    e.key("name").string("Canada");
    e.end_object();
    e.key("geometry").begin_object();
    e.key("type").string("Polygon");
    e.key("coordinates").begin_array();
    while (e.size() < target - 4096) {
        e.begin_array();
        double lon = -141.0 + 89.0 * rng.unit();
        double lat = 42.0 + 41.0 * rng.unit();
        for (std::uint32_t n = 4 + rng.below(1500); n != 0 && e.size() < target - 64; --n) {
            lon += (rng.unit() - 0.5) * 0.02;
            lat += (rng.unit() - 0.5) * 0.02;
            e.begin_array();
            number(lon);
            number(lat);
            e.end_array();
        }
        e.end_array();
    }
    e.end_array();
    e.end_object();
    e.end_object();
    e.end_array();
    e.end_object();
    return out;
}

}  // namespace bench
