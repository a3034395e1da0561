#include <cstdlib>

#include "lang/locale_code.h"

namespace quillo::lang {

std::string SystemLocaleCode() {
    return LanguageOfPosixEnvironment(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                      std::getenv("LANG"));
}

}  // namespace quillo::lang
