#include "updates/random_name.h"

#include "uuid/uuid.h"

std::string random_uuid_text(RandomSource& source) {
    UuidBytes random{};
    source.fill(random);
    std::string text;
    append_uuid(text, uuid_from_random(random), UuidSeparator::Hyphen, LetterCase::Lower);
    return text;
}
