if(TARGET gateway-sim)
  lumaro_add_test(tst_link_serial SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_link_serial.cpp
                  LIBS lumaro_link lumaro_app Qt6::SerialPort)
  target_compile_definitions(tst_link_serial PRIVATE GATEWAY_SIM_PATH="$<TARGET_FILE:gateway-sim>")
  add_dependencies(tst_link_serial gateway-sim)
endif()
