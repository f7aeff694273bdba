# gateway-sim on a real pseudo-terminal, through QSerialPort as the link uses it.
lumaro_add_test(tst_gatewaysim SOURCES tst_gatewaysim.cpp LIBS lumaro_protocol Qt6::SerialPort)
add_dependencies(tst_gatewaysim gateway-sim)
target_compile_definitions(tst_gatewaysim PRIVATE GATEWAY_SIM_PATH="$<TARGET_FILE:gateway-sim>")
