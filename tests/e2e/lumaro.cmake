# The program itself, headless: its command line, a new project folder, and a whole run in the
# demo project against two gateway-sim lines (port search, status poll, shutdown on SIGTERM).
if(TARGET gateway-sim AND TARGET lumaro)
  lumaro_add_test(tst_lumaro SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_lumaro.cpp LIBS lumaro_project lumaro_sim)
  target_compile_definitions(tst_lumaro PRIVATE
    GATEWAY_SIM_PATH="$<TARGET_FILE:gateway-sim>"
    LUMARO_PATH="$<TARGET_FILE:lumaro>"
    LUMARO_VERSION_TEXT="${PROJECT_VERSION}")
  add_dependencies(tst_lumaro lumaro gateway-sim)
  # Two runs of the program with the port dialog's ten-second countdown and a poll cycle each.
  set_tests_properties(tst_lumaro PROPERTIES TIMEOUT 900)
endif()
