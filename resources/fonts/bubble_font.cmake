# The bubble's font: the system's Chinese font cut down to the characters the
# pet can say (subset_font.py), staged in resources/fonts/. It needs Python's
# fontTools and WenQuanYi Micro Hei; without them the bubble draws with the
# system's fonts, as it does when the file is missing at run time.
set(GLUGMO_BUBBLE_FONT)
find_program(GLUGMO_FONT_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(GLUGMO_FONT_PYTHON python3)
find_file(GLUGMO_BUBBLE_FONT_SOURCE wqy-microhei.ttc
          PATHS /usr/share/fonts/truetype/wqy /usr/local/share/fonts /opt/homebrew/share/fonts
          NO_DEFAULT_PATH)
if(GLUGMO_FONT_PYTHON AND GLUGMO_BUBBLE_FONT_SOURCE)
  execute_process(COMMAND ${GLUGMO_FONT_PYTHON} -c "import fontTools"
                  RESULT_VARIABLE GLUGMO_NO_FONTTOOLS OUTPUT_QUIET ERROR_QUIET)
  if(GLUGMO_NO_FONTTOOLS EQUAL 0)
    set(GLUGMO_BUBBLE_FONT ${PROJECT_BINARY_DIR}/resources/fonts/glugmo-bubble.ttf)
  endif()
endif()

if(GLUGMO_BUBBLE_FONT)
  # Every line the pet says is written in the behaviour code.
  file(GLOB GLUGMO_SPOKEN_TEXT CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h
       ${PROJECT_SOURCE_DIR}/pet/*.cpp ${PROJECT_SOURCE_DIR}/pet/*.h
       ${PROJECT_SOURCE_DIR}/menu/*.cpp ${PROJECT_SOURCE_DIR}/menu/*.h
       ${PROJECT_SOURCE_DIR}/bubble/*.cpp ${PROJECT_SOURCE_DIR}/bubble/*.h)
  add_custom_command(
    OUTPUT ${GLUGMO_BUBBLE_FONT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/resources/fonts
    COMMAND ${GLUGMO_FONT_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/subset_font.py
            ${GLUGMO_BUBBLE_FONT_SOURCE} ${GLUGMO_BUBBLE_FONT} "Glugmo Bubble" ${GLUGMO_SPOKEN_TEXT}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/subset_font.py ${GLUGMO_BUBBLE_FONT_SOURCE} ${GLUGMO_SPOKEN_TEXT}
    COMMENT "Cutting the bubble's font down to the pet's lines" VERBATIM)
  list(APPEND GLUGMO_STAGED_RESOURCES ${GLUGMO_BUBBLE_FONT})
else()
  message(STATUS "glugmo: no fontTools or WenQuanYi Micro Hei; the bubble uses the system's fonts")
endif()
