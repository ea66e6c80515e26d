// gps sources arrive here
