// Anchor for the precompiled Qt headers shared by the window tests.
