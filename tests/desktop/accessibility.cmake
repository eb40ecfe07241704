# What a screen reader gets from the real program on a real desktop, read through AT-SPI; skipped
# (status 77) where the desktop tools are not installed.
add_test(NAME Desktop.Accessibility
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/desktop/accessibility_test.sh $<TARGET_FILE:contado>)
set_tests_properties(Desktop.Accessibility PROPERTIES TIMEOUT 330 SKIP_RETURN_CODE 77)
