# Project-wide warning flags; every target gets them through quillo_warnings.
add_library(quillo_warnings INTERFACE)
target_compile_options(quillo_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(QUILLO_WERROR)
  target_compile_options(quillo_warnings INTERFACE -Werror)
endif()
