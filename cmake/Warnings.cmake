# Project-wide warning flags; every target gets them through quillo_warnings.
add_library(quillo_warnings INTERFACE)
if(MSVC)
  # Sources are UTF-8 without a byte-order mark (the message texts): MSVC must be told so.
  target_compile_options(quillo_warnings INTERFACE /W4 /utf-8)
  if(QUILLO_WERROR)
    target_compile_options(quillo_warnings INTERFACE /WX)
  endif()
else()
  target_compile_options(quillo_warnings INTERFACE -Wall -Wextra -Wpedantic)
  if(QUILLO_WERROR)
    target_compile_options(quillo_warnings INTERFACE -Werror)
  endif()
endif()
