# Cross build of the whole Windows program with Debian's MinGW-w64 (posix threads variant) and
# a static Qt 6 for MinGW, as scripts/qt-mingw provides it (QUILLO_QT_MINGW names another
# folder). moc, rcc and uic are the host's: the same Qt version, from qt6-base-dev.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

if(DEFINED ENV{QUILLO_QT_MINGW})
  set(QUILLO_QT_MINGW $ENV{QUILLO_QT_MINGW})
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(QUILLO_QT_MINGW $ENV{XDG_CACHE_HOME}/quillo-config/qt6-mingw-static-6.4.2)
else()
  set(QUILLO_QT_MINGW $ENV{HOME}/.cache/quillo-config/qt6-mingw-static-6.4.2)
endif()
if(NOT EXISTS ${QUILLO_QT_MINGW}/lib/cmake/Qt6/Qt6Config.cmake)
  message(FATAL_ERROR "No static Qt for MinGW in ${QUILLO_QT_MINGW}: run scripts/qt-mingw first")
endif()

# With the package search confined to the find root, the Qt prefix must be part of it.
list(APPEND CMAKE_FIND_ROOT_PATH ${QUILLO_QT_MINGW})
list(APPEND CMAKE_PREFIX_PATH ${QUILLO_QT_MINGW})
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
# The release program ships without symbols (about half its size).
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
