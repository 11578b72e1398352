# The chart window Form1 (included from chartview/CMakeLists.txt).

# Plain parts of the window: reset, publishing to the frame, layout and scroll arithmetic.
add_library(mirkan_chartview_formcore STATIC
  ${CMAKE_CURRENT_LIST_DIR}/formglobals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_reset.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_publish.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_calc.cpp)
target_include_directories(mirkan_chartview_formcore PUBLIC ${MIRKAN_SOURCE_DIR})
target_link_libraries(mirkan_chartview_formcore PUBLIC mirkan_chartview_draw mirkan_chartview_settings mirkan_editing mirkan_chartfmt)

# The window itself on Qt Widgets.
add_library(mirkan_chartview_form STATIC
  ${CMAKE_CURRENT_LIST_DIR}/icons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mixedbutton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picturebox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_scroll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_select.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_mouse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_wall.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mixedbutton.h
  ${CMAKE_CURRENT_LIST_DIR}/picturebox.h
  ${CMAKE_CURRENT_LIST_DIR}/form1.h
  ${CMAKE_CURRENT_LIST_DIR}/form1_edithost.h)
set_target_properties(mirkan_chartview_form PROPERTIES AUTOMOC ON)
target_link_libraries(mirkan_chartview_form PUBLIC mirkan_chartview_formcore Qt6::Widgets)
