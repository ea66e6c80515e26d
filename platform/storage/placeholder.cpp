// storage sources arrive here
