# The port setting dialog's automatic search over two gateway-sim pseudo-terminals, through the
# real serial code.
if(TARGET gateway-sim)
  lumaro_add_test(tst_portsearch SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_portsearch.cpp
                  LIBS lumaro_link_widgets)
  target_compile_definitions(tst_portsearch PRIVATE GATEWAY_SIM_PATH="$<TARGET_FILE:gateway-sim>")
  add_dependencies(tst_portsearch gateway-sim)
endif()
