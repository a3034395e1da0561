# quillo_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>] [NO_MAIN])
# One GoogleTest executable; its cases are registered with CTest one by one (one process for the
# whole executable in the Windows cross build, where each process start under wine is costly).
# Qt tests run on the offscreen platform. Label threaded tests "threaded": the ThreadSanitizer
# run builds them alone (target quillo_threaded_tests) and picks them by that label.
function(quillo_add_gtest name)
  cmake_parse_arguments(T "NO_MAIN" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock quillo_warnings)
  if(NOT T_NO_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(labels ${T_LABELS})
  if(NOT labels)
    set(labels unit)
  endif()
  # The ThreadSanitizer run builds only these.
  if("threaded" IN_LIST labels)
    if(NOT TARGET quillo_threaded_tests)
      add_custom_target(quillo_threaded_tests)
    endif()
    add_dependencies(quillo_threaded_tests ${name})
  endif()
  if(QUILLO_WINDOWS_LAYER_ONLY)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  else()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES LABELS "${labels}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
