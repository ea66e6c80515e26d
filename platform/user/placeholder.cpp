// user sources arrive here
