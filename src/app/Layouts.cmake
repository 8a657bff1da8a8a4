# Compiles the stored layouts of src/app into the app library.
emr_embed_layout(app ${CMAKE_SOURCE_DIR}/src/app/Unit1.layout)
